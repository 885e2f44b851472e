import QtQuick
import QtQuick.Controls.Basic
import Rc.IRCSetting 1.0
import Rc.IRCStelvaneSyncer 1.0
import Rc.IRCTerminal 1.0

// The connect dialog for the media server. Its fields show the settings "DefaultIp" and
// "DefaultPassword"; OK writes the address (the project then points the control link at it) or
// the password (the project sends it to the server), and the dialog follows the server's
// answers: password asked, password wrong, connected (then it closes). The dialog sends nothing
// itself. An address that is neither empty (any server) nor an IPv4 address is refused. While the
// password is asked the address stays usable: OK with another address connects there instead.
// 取消 (or the cross) at the password question turns that server down (mTerminal.refuseLink()):
// it is not linked again until its address is given here.
//
// mState: 0 initial, 1 connecting, 2 password asked, 3 verifying, 4 wrong password, 5 connected.
Popup {
    id: root

    property IRCSetting mSetting: null
    property IRCStelvaneSyncer mStelvaneSyncer: null
    property IRCTerminal mTerminal: null
    property bool mOkButtonEnable: true
    property bool mPasswordVisible: false
    property string mOkButtonText: qsTr("连接")
    property string mDefaultIp: ""
    property string mDefaultPassword: ""
    property string mTitle: qsTr("连接(只支持最新版mirel)")
    property real mDlgScale: 1.5
    property real mDlgTextScale: 0.7 * mDlgScale
    property string mConnectStateInfo: " "
    property int mState: 0
    // The address setting as stored; the field may differ from it.
    property string mSettingIp: ""
    // In the password states, whether OK connects to another address instead of verifying.
    readonly property bool mAddressEdited: (mState === 2 || mState === 4) && mDefaultIp.trim() !== mSettingIp

    width: 300 * mDlgScale * RCUnits.dp
    height: 200 * mDlgScale * RCUnits.dp
    modal: true
    closePolicy: Popup.NoAutoClose
    padding: 0

    // An IPv4 address in dotted form, or empty for any server.
    function isValidAddress(text) {
        if (text === "")
            return true
        var parts = text.split(".")
        if (parts.length !== 4)
            return false
        for (var i = 0; i < parts.length; ++i) {
            if (!/^[0-9]{1,3}$/.test(parts[i]) || Number(parts[i]) > 255)
                return false
        }
        return true
    }
    function setState(state) {
        mState = state
        switch (state) {
        case 0:
            mOkButtonText = qsTr("连接")
            mOkButtonEnable = true
            mConnectStateInfo = " "
            break
        case 1:
            mOkButtonText = qsTr("连接")
            mOkButtonEnable = false
            mConnectStateInfo = qsTr("连接中")
            mSetting.setValue("DefaultIp", mDefaultIp)
            break
        case 2:
            mOkButtonText = qsTr("验证")
            mOkButtonEnable = true
            mConnectStateInfo = qsTr("需要密码验证")
            break
        case 3:
            mOkButtonEnable = false
            mConnectStateInfo = qsTr("验证中")
            mSetting.setValue("DefaultPassword", mDefaultPassword)
            break
        case 4:
            mOkButtonText = qsTr("重试")
            mOkButtonEnable = true
            mConnectStateInfo = qsTr("密码错误,验证失败")
            break
        case 5:
            mOkButtonText = qsTr("连接成功")
            mOkButtonEnable = true
            mConnectStateInfo = qsTr("连接")
            break
        }
    }
    function accept() {
        if (!mOkButtonEnable)
            return
        if (mState === 0 || mAddressEdited) {
            mDefaultIp = mDefaultIp.trim()
            if (!isValidAddress(mDefaultIp)) {
                mConnectStateInfo = qsTr("IP地址格式错误")
                return
            }
            mPasswordVisible = false
            setState(1)
        } else if (mState === 2 || mState === 4) {
            setState(3)
        }
    }
    // The server asks for the password: shows the password row, state 2. Also called by whoever
    // opens the dialog on that ask, since a dialog made during the ask does not see it.
    function askPassword() {
        mPasswordVisible = true
        setState(2)
    }
    function closeWithReset() {
        mPasswordVisible = false
        setState(0)
        close()
    }
    // 取消 and the cross: at the password question the server on the link is turned down.
    function cancel() {
        if (mTerminal && (mState === 2 || mState === 3 || mState === 4))
            mTerminal.refuseLink()
        closeWithReset()
    }
    function settingText(key) {
        var value = mSetting ? mSetting.getValue(key) : undefined
        return value === undefined || value === null ? "" : String(value)
    }

    onMSettingChanged: {
        mSettingIp = settingText("DefaultIp")
        mDefaultIp = mSettingIp
        mDefaultPassword = settingText("DefaultPassword")
    }
    onOpened: ipField.forceActiveFocus()

    Connections {
        target: root.mSetting
        function onSettingValueChanged(sSettingName, settingValue) {
            if (sSettingName === "DefaultIp") {
                root.mSettingIp = root.settingText("DefaultIp")
                root.mDefaultIp = root.mSettingIp
            }
            else if (sSettingName === "DefaultPassword")
                root.mDefaultPassword = root.settingText("DefaultPassword")
        }
    }
    Connections {
        target: root.mStelvaneSyncer
        function onConnectVerifyAsk() {
            root.askPassword()
        }
        function onConnectPasswordError() {
            root.setState(4)
        }
        function onConnectedToServer(sIp) {
            root.setState(5)
            root.closeWithReset()
        }
    }

    background: Rectangle {
        color: "#2c2c2c"
        radius: 10 * RCUnits.dp
        border.width: 1
        border.color: "#707070"
    }
    contentItem: Item {
        RCDialogHeader {
            id: header
            x: 1
            y: 1
            width: parent.width - 2
            radius: 9 * RCUnits.dp
            mTitleText: root.mTitle
            onCloseClicked: root.cancel()
        }
        Column {
            anchors.horizontalCenter: parent.horizontalCenter
            anchors.top: header.bottom
            anchors.bottom: buttonRow.top
            spacing: 10 * root.mDlgScale * RCUnits.dp
            topPadding: 15 * root.mDlgScale * RCUnits.dp

            Row {
                spacing: 8 * RCUnits.dp
                RCText {
                    anchors.verticalCenter: parent.verticalCenter
                    text: qsTr("地址:")
                    color: "white"
                    font.pixelSize: 20 * root.mDlgTextScale * RCUnits.dp
                }
                RCTextField {
                    id: ipField
                    objectName: "ipField"
                    width: 200 * root.mDlgScale * RCUnits.dp
                    height: 30 * root.mDlgScale * RCUnits.dp
                    mTextSize: 17 * root.mDlgTextScale
                    text: root.mDefaultIp
                    placeholderText: qsTr("请输入IP")
                    onTextEdited: root.mDefaultIp = text
                    onAccepted: root.accept()
                }
            }
            Row {
                spacing: 8 * RCUnits.dp
                visible: root.mPasswordVisible
                RCText {
                    anchors.verticalCenter: parent.verticalCenter
                    text: qsTr("密码:")
                    color: "white"
                    font.pixelSize: 20 * root.mDlgTextScale * RCUnits.dp
                }
                RCTextField {
                    objectName: "passwordField"
                    width: 200 * root.mDlgScale * RCUnits.dp
                    height: 30 * root.mDlgScale * RCUnits.dp
                    mTextSize: 17 * root.mDlgTextScale
                    text: root.mDefaultPassword
                    placeholderText: qsTr("请输入密码")
                    echoMode: TextInput.Password
                    onTextEdited: root.mDefaultPassword = text
                    onAccepted: root.accept()
                }
            }
            RCText {
                objectName: "connectStateInfo"
                anchors.horizontalCenter: parent.horizontalCenter
                text: root.mConnectStateInfo
                color: "white"
                font.pixelSize: 18 * root.mDlgTextScale * RCUnits.dp
            }
        }
        Row {
            id: buttonRow
            anchors.horizontalCenter: parent.horizontalCenter
            anchors.bottom: parent.bottom
            anchors.bottomMargin: 10 * root.mDlgScale * RCUnits.dp
            spacing: 10 * root.mDlgScale * RCUnits.dp

            RCDialogButton {
                objectName: "okButton"
                width: 75 * root.mDlgScale * RCUnits.dp
                height: 25 * root.mDlgScale * RCUnits.dp
                enabled: root.mOkButtonEnable
                text: root.mAddressEdited ? qsTr("连接") : root.mOkButtonText
                onClicked: root.accept()
            }
            RCDialogButton {
                objectName: "cancelButton"
                width: 75 * root.mDlgScale * RCUnits.dp
                height: 25 * root.mDlgScale * RCUnits.dp
                text: qsTr("取消")
                onClicked: root.cancel()
            }
        }
    }
}
