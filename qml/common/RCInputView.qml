import QtQuick
import QtQuick.Controls.Basic

// The body of a one-value input box: title and close cross, the value's name and a text field,
// a hint under it (mInfoText, "" for none; typing clears it), OK and cancel. Typing updates
// mValue; Enter counts as OK while OK is enabled.
RCDialogFrame {
    id: root

    property string mValueName: qsTr("值:")
    property string mOkButtonText: qsTr("确定")
    property string mCancelButtonText: qsTr("取消")
    property string mValue: ""
    property bool mOkButtonEnable: true
    property bool mCancelButtonEnable: true
    property string mPlaceholderText: ""
    property string mInfoText: ""

    mTitle: qsTr("输入")

    signal sig_accpet
    signal sig_cancel
    signal sig_valueChanged(string value)

    function focusValue() {
        valueField.forceActiveFocus()
    }

    onCloseClicked: sig_cancel()

    Row {
        id: valueRow
        anchors.centerIn: parent
        spacing: 8 * RCUnits.dp

        RCText {
            anchors.verticalCenter: parent.verticalCenter
            visible: text !== ""
            text: root.mValueName
            color: "#1A1A1A"
            font.bold: true
            font.pixelSize: 20 * RCUnits.dp
        }
        TextField {
            id: valueField
            objectName: "valueField"
            width: 200 * RCUnits.dp
            height: 30 * RCUnits.dp
            text: root.mValue
            placeholderText: root.mPlaceholderText
            color: "#1A1A1A"
            font.family: "微软雅黑"
            font.bold: true
            font.pixelSize: 17 * RCUnits.dp
            background: Rectangle {
                color: "#C8C8C8"
            }
            onTextEdited: {
                root.mValue = text
                root.mInfoText = ""
                root.sig_valueChanged(text)
            }
            onAccepted: {
                if (root.mOkButtonEnable)
                    root.sig_accpet()
            }
        }
    }
    RCText {
        objectName: "infoText"
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.top: valueRow.bottom
        anchors.topMargin: 2 * RCUnits.dp
        visible: text !== ""
        text: root.mInfoText
        color: "#C00000"
        font.bold: true
        font.pixelSize: 13 * RCUnits.dp
    }
    Row {
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 12 * RCUnits.dp
        spacing: 30 * RCUnits.dp

        RCDialogButton {
            objectName: "okButton"
            width: 75 * RCUnits.dp
            mColor: "#B8B8B8"
            mTextColor: "#1A1A1A"
            enabled: root.mOkButtonEnable
            text: root.mOkButtonText
            onClicked: root.sig_accpet()
        }
        RCDialogButton {
            objectName: "cancelButton"
            width: 75 * RCUnits.dp
            mColor: "#B8B8B8"
            mTextColor: "#1A1A1A"
            enabled: root.mCancelButtonEnable
            text: root.mCancelButtonText
            onClicked: root.sig_cancel()
        }
    }
}
