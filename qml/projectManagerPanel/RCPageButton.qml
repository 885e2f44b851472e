import QtQuick
import "../common"

// A button of the project manager page: 86 x 27, "#BBB7B7", white while hovered.
Rectangle {
    id: root

    property alias text: label.text

    signal clicked

    y: 15 * RCUnits.dp
    width: 86 * RCUnits.dp
    height: 27 * RCUnits.dp
    radius: 6 * RCUnits.dp
    color: area.containsMouse ? "#FFFFFF" : "#BBB7B7"

    RCText {
        id: label
        anchors.centerIn: parent
        color: "#1A1A1C"
        font.pixelSize: 14 * RCUnits.dp
    }
    MouseArea {
        id: area
        anchors.fill: parent
        hoverEnabled: true
        onClicked: root.clicked()
    }
}
