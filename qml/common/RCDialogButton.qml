import QtQuick

// The text button of the message, input and progress boxes: gray while disabled, "#8D8D8D"
// while pressed, otherwise mColor.
Rectangle {
    id: root

    property alias text: label.text
    property color mColor: "#1A1A1A"
    property color mTextColor: "white"

    width: 68 * RCUnits.dp
    height: 25 * RCUnits.dp
    radius: 5 * RCUnits.dp
    color: !enabled ? "gray" : (area.pressed ? "#8D8D8D" : mColor)

    signal clicked

    RCText {
        id: label
        anchors.centerIn: parent
        color: root.mTextColor
        font.pixelSize: 14 * RCUnits.dp
    }
    MouseArea {
        id: area
        anchors.fill: parent
        onClicked: root.clicked()
    }
}
