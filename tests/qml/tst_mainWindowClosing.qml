import QtQuick
import QtTest

// The real main window's save question on closing and before the project manager or another
// project replaces the open one, and closes without changes or of a new project.
RCTestMainWindow {
    id: mainWindow

    MainWindowTestCase {
        // The save question with unsaved changes, from the window's close, the exit entry (an exit
        // button and a script ask as the project does), the project manager entry and another
        // project: what was asked for happens after 不保存 or a save, not after 取消 or a failed
        // save ("保存失败"); nothing is written but by 保存.
        function test_saveQuestion_data() {
            return [
                {tag: "close, 不保存", via: "close", button: "cancelButton", done: true},
                {tag: "close, 取消", via: "close", button: "closeButton", done: false},
                {tag: "close, 保存", via: "close", button: "okButton", done: true},
                {tag: "close, 保存 fails", via: "close", button: "okButton", broken: true, done: false},
                {tag: "退出", via: "exit", button: "cancelButton", done: true},
                {tag: "the project's close request", via: "request", button: "cancelButton", done: true},
                {tag: "project manager, 取消", via: "manager", button: "closeButton", done: false},
                {tag: "project manager, 不保存", via: "manager", button: "cancelButton", done: true},
                {tag: "project manager, 保存", via: "manager", button: "okButton", done: true},
                {tag: "project manager, 保存 fails", via: "manager", button: "okButton", broken: true, done: false},
                {tag: "another project, 不保存", via: "switch", button: "cancelButton", done: true},
                {tag: "another project, 取消", via: "switch", button: "closeButton", done: false}
            ]
        }
        function test_saveQuestion(data) {
            makeWindow()
            var target = openStored("目标")
            var folder = openStored("当前")
            if (data.broken) {
                // a packet whose project file cannot be replaced
                folder = testSupport.makeFolder("坏包")
                verify(testSupport.writeText(folder + "/project.tavx/blocker", ""))
                project.setProjectPacketPath(folder)
            }
            var before = testSupport.readText(folder + "/project.tavx")
            change()
            var entry = win.mContent.editPanel.menu().mProjectManagerEntry
            if (data.via === "close")
                win.close()
            else if (data.via === "exit")
                findChild(win.mContent.editPanel.menu(), "menuExit").triggered()
            else if (data.via === "request")
                project.closeRequested()
            else if (data.via === "manager")
                entry.triggered()
            else
                win.requestSwitchProject(target)
            tryVerify(() => win.mIsSaveMessageBoxId !== "")
            verify(win.visible, "the window waits for the answer")
            var question = dialogOf(win.mIsSaveMessageBoxId).contentItem
            compare(["okButton", "cancelButton", "closeButton"].map(name => findChild(question, name).text),
                    ["保存", "不保存", "取消"])
            answer(win.mIsSaveMessageBoxId, data.button)
            compare(win.mIsSaveMessageBoxId, "")
            if (data.via === "manager") {
                compare(entry.mNeedFocusSaveResult, false, "the question is settled")
                compare(entry.mOverlay !== null, data.done)
                if (entry.mOverlay)
                    entry.mOverlay.close()
            } else if (data.via === "switch") {
                compare(project.getProjectPacketPath(), data.done ? target : folder)
            } else {
                tryCompare(win, "visible", !data.done)
                if (!data.done)
                    compare(win.mIsClosing, false)
            }
            if (data.broken) {
                var text = lastMessage().split("\n")
                compare(text[0], "保存失败")
                verify(text.length > 1, "and why")
            } else if (data.button === "okButton") {
                verify(testSupport.readText(folder + "/project.tavx").indexOf("改动") >= 0)
                tryVerify(() => testSupport.isDrawnImage(folder + "/thumbnail.png"), 5000, "the thumbnail shows the layout")
            } else {
                compare(testSupport.readText(folder + "/project.tavx"), before, "nothing written")
            }
        }

        function test_closeWithoutChanges() {
            makeWindow()
            openStored("关闭")
            win.close()
            tryCompare(win, "visible", false)
            compare(win.mIsSaveMessageBoxId, "")
        }

        // 保存 of a new project asks for a name; a close meanwhile does nothing, and giving up the
        // save ends the closing.
        function test_closeNewProject() {
            makeWindow()
            openTemplate()
            change()
            answer(askToClose(), "okButton")
            var flow = win.mMenuSave.mFlow
            verify(flow.mDialog, "the save dialog is open")
            verify(win.mIsClosing)
            win.close()
            verify(win.visible, "a close while the save dialog is open does nothing")
            mouseClick(findChild(flow.mDialog.contentItem, "headerClose"))
            compare(flow.mDialog, null)
            compare(win.mIsClosing, false, "giving up the save ends the closing")
            verify(project.hasChangedOnClosing())
        }

        function test_secondCloseKeepsTheQuestion() {
            makeWindow()
            openStored("二次关闭")
            change()
            var question = askToClose()
            win.close()
            verify(win.visible)
            compare(win.mIsSaveMessageBoxId, question)
            compare(messages.getShownMessageIds().length, 1, "no second question")
        }
    }
}
