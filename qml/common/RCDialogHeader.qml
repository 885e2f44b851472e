import QtQuick

// The title bar of a dialog: the title at the left and a close cross at the right. Its top
// corners follow the dialog's rounding; the bottom ones are square.
Rectangle {
    id: root

    property string mTitleText: ""

    height: 40 * RCUnits.dp
    color: "#1A1A1A"
    radius: 10 * RCUnits.dp

    signal closeClicked

    Rectangle {
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        height: Math.min(root.radius, root.height)
        color: root.color
    }
    RCText {
        objectName: "headerTitle"
        x: 11 * RCUnits.dp
        width: closeButton.x - x - 4 * RCUnits.dp
        anchors.verticalCenter: parent.verticalCenter
        text: root.mTitleText
        color: "white"
        font.bold: true
        font.pixelSize: 22 * RCUnits.dp
        elide: Text.ElideRight
    }
    RCImage {
        id: closeButton
        objectName: "headerClose"
        anchors.right: parent.right
        anchors.verticalCenter: parent.verticalCenter
        width: 40 * RCUnits.dp
        height: 40 * RCUnits.dp
        source: closeArea.pressed ? "qrc:/close-pressed.png" : "qrc:/close.png"

        MouseArea {
            id: closeArea
            anchors.fill: parent
            onClicked: root.closeClicked()
        }
    }
}
