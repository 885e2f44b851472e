import QtQuick
import "../common"
import Rc.RCMessageBoxManager
import Rc.IRCProject 1.0
import Rc.TavixProjectCloudClient 1.0

// Joins a cloud project: its number and verification code, pre-filled from the settings of the
// last join. An empty field is refused with a message and the dialog stays.
RCFormDialog {
    id: root

    property IRCProject mProjectw: null
    property RCMessageBoxManager mMessageBoxManager: null
    // The cloud client that joins.
    property TavixProjectCloudClient mCloudClient: null

    mTitle: qsTr("加入项目")

    function settingText(key) {
        var value = mProjectw.getSetting().getValue(key)
        return value === undefined || value === null ? "" : String(value)
    }
    function join() {
        if (nameField.text === "") {
            mMessageBoxManager.showMessage(qsTr("提示"), qsTr("项目名称不能为空"), true, false)
            return false
        }
        if (passwordField.text === "") {
            mMessageBoxManager.showMessage(qsTr("提示"), qsTr("密码不能为空"), true, false)
            return false
        }
        close()
        mCloudClient.joinProject(nameField.text, passwordField.text)
        return true
    }

    onOpened: nameField.forceActiveFocus()

    Column {
        x: 20 * RCUnits.dp
        y: 14 * RCUnits.dp
        spacing: 10 * RCUnits.dp

        RCFormRow {
            mLabel: qsTr("名称:")
            RCTextField {
                id: nameField
                objectName: "nameField"
                width: 280 * RCUnits.dp
                text: root.settingText("ProjectJoinUid")
                onAccepted: root.join()
            }
        }
        RCFormRow {
            mLabel: qsTr("密码:")
            RCTextField {
                id: passwordField
                objectName: "passwordField"
                width: 280 * RCUnits.dp
                echoMode: TextInput.PasswordEchoOnEdit
                text: root.settingText("ProjectJoinPasswrod")
                onAccepted: root.join()
            }
        }
    }
    RCDialogButton {
        objectName: "joinButton"
        anchors.right: cancelButton.left
        anchors.rightMargin: 5 * RCUnits.dp
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 16 * RCUnits.dp
        height: 24 * RCUnits.dp
        radius: 4 * RCUnits.dp
        text: qsTr("加入")
        onClicked: root.join()
    }
    RCDialogButton {
        id: cancelButton
        objectName: "cancelButton"
        anchors.right: parent.right
        anchors.rightMargin: 5 * RCUnits.dp
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 16 * RCUnits.dp
        height: 24 * RCUnits.dp
        radius: 4 * RCUnits.dp
        text: qsTr("取消")
        onClicked: root.close()
    }
}
