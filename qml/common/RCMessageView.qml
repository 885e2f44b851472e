import QtQuick
import QtQuick.Controls.Basic

// The body of a message box: a header with the title and a close cross, the message, and a row
// of up to three buttons (OK, cancel, close). The box is as wide as the message but at least
// 390, and at least 160 high, plus the margins on each side. A long message wraps at
// mMaxMessageWidth and scrolls beyond mMaxMessageHeight, so a box never outgrows the window.
Rectangle {
    id: root

    property string mTitle: qsTr("提示")
    property string mMessage: ""
    property string mOkButtonText: qsTr("确定")
    property string mCancelButtonText: qsTr("取消")
    property string mCloseButtonText: qsTr("关闭")
    property bool mOkButtonEnable: true
    property bool mCancelButtonEnable: true
    property bool mCloseButtonEnable: true
    property bool mOkButtonVisible: true
    property bool mCancelButtonVisible: true
    property bool mCloseButtonVisible: false
    property real mRowSpaceing: 30 * RCUnits.dp
    property real mMargins: 10 * RCUnits.dp
    property real mMaxMessageWidth: 600 * RCUnits.dp
    property real mMaxMessageHeight: 400 * RCUnits.dp

    width: Math.max(messageArea.width, 390 * RCUnits.dp) + 2 * mMargins
    height: Math.max(messageArea.height + header.height + buttonRow.height + 2 * mRowSpaceing, 160 * RCUnits.dp)
            + 2 * mMargins
    color: "#2c2c2c"
    radius: 10 * RCUnits.dp
    border.width: 1
    border.color: "#707070"

    signal sig_accpet
    signal sig_cancel
    signal sig_close
    signal sig_valueChanged(string value)

    RCDialogHeader {
        id: header
        objectName: "messageHeader"
        x: root.border.width
        y: root.border.width
        width: root.width - 2 * root.border.width
        height: 40 * RCUnits.dp
        radius: root.radius - root.border.width
        mTitleText: root.mTitle
        onCloseClicked: root.sig_close()
    }
    Item {
        anchors.top: header.bottom
        anchors.bottom: buttonRow.top
        anchors.left: parent.left
        anchors.right: parent.right

        Flickable {
            id: messageArea
            objectName: "messageArea"
            anchors.centerIn: parent
            width: Math.min(messageText.implicitWidth, root.mMaxMessageWidth)
            height: Math.min(messageText.height, root.mMaxMessageHeight)
            contentWidth: width
            contentHeight: messageText.height
            clip: true
            interactive: contentHeight > height
            boundsBehavior: Flickable.StopAtBounds
            ScrollBar.vertical: ScrollBar {
                policy: messageArea.interactive ? ScrollBar.AlwaysOn : ScrollBar.AlwaysOff
            }

            RCText {
                id: messageText
                objectName: "messageText"
                width: messageArea.width
                text: root.mMessage
                color: "white"
                font.bold: true
                font.pixelSize: 18 * RCUnits.dp
                wrapMode: Text.WrapAtWordBoundaryOrAnywhere
                horizontalAlignment: Text.AlignHCenter
            }
        }
    }
    Row {
        id: buttonRow
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        anchors.bottomMargin: root.mMargins
        spacing: 10 * RCUnits.dp

        RCDialogButton {
            objectName: "okButton"
            visible: root.mOkButtonVisible
            enabled: root.mOkButtonEnable
            text: root.mOkButtonText
            onClicked: root.sig_accpet()
        }
        RCDialogButton {
            objectName: "cancelButton"
            visible: root.mCancelButtonVisible
            enabled: root.mCancelButtonEnable
            text: root.mCancelButtonText
            onClicked: root.sig_cancel()
        }
        RCDialogButton {
            objectName: "closeButton"
            visible: root.mCloseButtonVisible
            enabled: root.mCloseButtonEnable
            text: root.mCloseButtonText
            onClicked: root.sig_close()
        }
    }
}
