import QtQuick
import QtQuick.Controls.Basic

// The text field of the form dialogs: white text on "#1A1A1A" in a "#707070" frame.
TextField {
    id: root

    property real mTextSize: 14

    height: 30 * RCUnits.dp
    color: "white"
    placeholderTextColor: "#8D8D8D"
    selectByMouse: true
    verticalAlignment: TextInput.AlignVCenter
    font.family: "微软雅黑"
    font.pixelSize: mTextSize * RCUnits.dp
    background: Rectangle {
        color: "#1A1A1A"
        radius: 4 * RCUnits.dp
        border.width: 1
        border.color: "#707070"
    }
}
