import QtQuick

// The body of a progress box: title and close cross, a progress bar and one cancel button. The
// cross and the button both report sig_cancel().
RCDialogFrame {
    id: root

    property string mCancelButtonText: qsTr("取消")
    property bool mOkButtonEnable: true
    property bool mCancelButtonEnable: true
    property real mMinValue: 0
    property real mMaxValue: 100
    property real mValue: 0

    mTitle: qsTr("进度")

    signal sig_cancel

    onCloseClicked: sig_cancel()

    RCProgressBar {
        objectName: "progressBar"
        anchors.centerIn: parent
        width: 150 * RCUnits.dp
        height: 30 * RCUnits.dp
        mMinValue: root.mMinValue
        mMaxValue: root.mMaxValue
        mValue: root.mValue
    }
    RCDialogButton {
        objectName: "cancelButton"
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 12 * RCUnits.dp
        width: 75 * RCUnits.dp
        mColor: "#B8B8B8"
        mTextColor: "#1A1A1A"
        enabled: root.mCancelButtonEnable
        text: root.mCancelButtonText
        onClicked: root.sig_cancel()
    }
}
