import QtQuick

// The light frame of the input and progress boxes: 300 x 145, the title at the top left and a
// small close cross at the top right.
Rectangle {
    id: root

    property string mTitle: ""

    width: 300 * dp
    height: 145 * dp
    radius: 5 * dp
    color: "#DFDFDF"

    signal closeClicked

    RCText {
        objectName: "frameTitle"
        x: 10 * dp
        y: 10 * dp
        width: closeButton.x - x - 4 * dp
        text: root.mTitle
        color: "#1A1A1A"
        font.bold: true
        font.pixelSize: 25 * dp
        elide: Text.ElideRight
    }
    RCImage {
        id: closeButton
        objectName: "frameClose"
        x: root.width - width - 10 * dp
        y: 10 * dp
        width: 20 * dp
        height: 20 * dp
        source: closeArea.pressed ? "qrc:/close-pressed.png" : "qrc:/close.png"

        MouseArea {
            id: closeArea
            anchors.fill: parent
            anchors.margins: -4 * dp
            onClicked: root.closeClicked()
        }
    }
}
