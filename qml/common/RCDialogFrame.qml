import QtQuick

// The light frame of the input and progress boxes: 300 x 145, the title at the top left and a
// small close cross at the top right.
Rectangle {
    id: root

    property string mTitle: ""

    width: 300 * RCUnits.dp
    height: 145 * RCUnits.dp
    radius: 5 * RCUnits.dp
    color: "#DFDFDF"

    signal closeClicked

    RCText {
        objectName: "frameTitle"
        x: 10 * RCUnits.dp
        y: 10 * RCUnits.dp
        width: closeButton.x - x - 4 * RCUnits.dp
        text: root.mTitle
        color: "#1A1A1A"
        font.bold: true
        font.pixelSize: 25 * RCUnits.dp
        elide: Text.ElideRight
    }
    RCImage {
        id: closeButton
        objectName: "frameClose"
        x: root.width - width - 10 * RCUnits.dp
        y: 10 * RCUnits.dp
        width: 20 * RCUnits.dp
        height: 20 * RCUnits.dp
        source: closeArea.pressed ? "qrc:/close-pressed.png" : "qrc:/close.png"

        MouseArea {
            id: closeArea
            anchors.fill: parent
            anchors.margins: -4 * RCUnits.dp
            onClicked: root.closeClicked()
        }
    }
}
