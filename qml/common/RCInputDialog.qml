import QtQuick
import QtQuick.Controls.Basic

// A modal input box on the main window, closed only by its buttons or its cross. OK closes it,
// copies the typed value into mValue and reports accepted(); cancel and the cross close it and
// report rejected(). The box stays centred on its parent (the main window's content).
Popup {
    id: root

    property string mValue: ""
    property string mPlaceholderText: ""
    property string mTitle: qsTr("输入")

    width: view.width
    height: view.height
    modal: true
    closePolicy: Popup.NoAutoClose
    padding: 0
    margins: 0
    background: Item {}
    anchors.centerIn: parent

    signal accepted
    signal rejected

    onOpened: view.focusValue()

    contentItem: Item {
        RCInputView {
            id: view
            objectName: "inputView"
            mTitle: root.mTitle
            mValueName: ""
            mValue: root.mValue
            mPlaceholderText: root.mPlaceholderText
            mOkButtonText: qsTr("确定")
            mCancelButtonText: qsTr("取消")
            onSig_accpet: {
                root.close()
                root.mValue = view.mValue
                root.accepted()
            }
            onSig_cancel: {
                root.close()
                root.rejected()
            }
        }
    }
}
