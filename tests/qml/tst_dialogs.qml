import QtQuick
import QtTest
import "qrc:/qml/common"

// Message, input and progress boxes: sizes, buttons and what each reports.
RCTestMainWindow {
    id: mainWindow

    Component {
        id: messageViewComponent

        RCMessageView {}
    }
    RCMessageDialog {
        id: messageDialog
    }
    RCInputDialog {
        id: inputDialog
        mValue: "old"
    }
    RCProgressView {
        id: progressView
        mValue: 40
    }
    SignalSpy {
        id: dialogSpy
    }

    TavixTestCase {
        name: "Dialogs"
        when: windowShown

        function test_messageSize_data() {
            var longLine = ""
            for (var i = 0; i < 120; ++i)
                longLine += "很长"
            var path = "/home/user/Tavix/" + "averyveryverylongfoldername".repeat(8)
            return [
                {tag: "short text", text: "安装完成", width: 410, wraps: false, scrolls: false},
                {tag: "empty", text: "", width: 410, wraps: false, scrolls: false},
                {tag: "long line", text: longLine, width: 620, wraps: true, scrolls: false},
                {tag: "long path", text: path, width: 620, wraps: true, scrolls: false},
                {tag: "huge text", text: longLine.repeat(20), width: 620, wraps: true, scrolls: true}
            ]
        }
        function test_messageSize(data) {
            var view = createTemporaryObject(messageViewComponent, mainWindow, {"mMessage": data.text})
            var text = child(view, "messageText")
            compare(view.width, data.width)
            compare(text.lineCount > 1, data.wraps)
            compare(child(view, "messageArea").interactive, data.scrolls)
            verify(view.height >= 180)
            verify(view.height <= 180 + 400 + 40 + 25 + 60, "the box stays within the window")
        }

        function test_messageDialogButtons_data() {
            return [
                {tag: "ok", button: "okButton", signal: "accepted"},
                {tag: "cancel", button: "cancelButton", signal: "rejected"},
                {tag: "close", button: "closeButton", signal: "onlyClosed"},
                {tag: "header cross", button: "headerClose", signal: "onlyClosed"}
            ]
        }
        function test_messageDialogButtons(data) {
            messageDialog.text = "是否保存"
            messageDialog.setButtonText("保存", "", "")
            messageDialog.open()
            tryCompare(messageDialog, "opened", true)
            compare(messageDialog.x, (mainWindow.width - messageDialog.width) / 2, "centred")
            compare(child(messageDialog.contentItem, "okButton").text, "保存")
            compare(child(messageDialog.contentItem, "cancelButton").text, "取消")
            spyOn(dialogSpy, messageDialog, data.signal)
            mouseClick(child(messageDialog.contentItem, data.button))
            compare(dialogSpy.count, 1)
            compare(messageDialog.visible, false)
        }

        function test_inputDialog() {
            spyOn(dialogSpy, inputDialog, "accepted")
            inputDialog.open()
            tryCompare(inputDialog, "opened", true)
            var field = child(inputDialog.contentItem, "valueField")
            compare(field.text, "old")
            field.selectAll()
            keyClick(Qt.Key_Delete)
            keyClick("n")
            keyClick("e")
            keyClick("w")
            compare(inputDialog.mValue, "old", "typing does not change the dialog's value")
            mouseClick(child(inputDialog.contentItem, "okButton"))
            compare(dialogSpy.count, 1)
            compare(inputDialog.mValue, "new")
            compare(inputDialog.visible, false)

            spyOn(dialogSpy, inputDialog, "rejected")
            inputDialog.open()
            tryCompare(inputDialog, "opened", true)
            keyClick("x")
            mouseClick(child(inputDialog.contentItem, "frameClose"))
            compare(dialogSpy.count, 1)
            compare(inputDialog.mValue, "new")

            spyOn(dialogSpy, inputDialog, "accepted")
            inputDialog.open()
            tryCompare(inputDialog, "opened", true)
            keyClick(Qt.Key_Return)
            compare(dialogSpy.count, 1, "Enter accepts")
        }

        function test_progressView() {
            compare(child(progressView, "progressValue").text, "40")
            spyOn(dialogSpy, progressView, "sig_cancel")
            mouseClick(child(progressView, "cancelButton"))
            mouseClick(child(progressView, "frameClose"))
            compare(dialogSpy.count, 2)
        }
    }
}
