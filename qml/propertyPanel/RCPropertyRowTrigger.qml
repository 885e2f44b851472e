import QtQuick
import "../common"

// A momentary property: the button "点击" writes true while pressed and false on release. It
// shows no value.
RCPropertyRowBase {
    id: root

    Rectangle {
        objectName: "triggerButton"
        x: 10 * RCUnits.dp
        width: 60 * RCUnits.dp
        height: 20 * RCUnits.dp
        anchors.verticalCenter: parent.verticalCenter
        radius: 3 * RCUnits.dp
        color: area.pressed ? "#8D8D8D" : "#3A3A3C"

        RCText {
            anchors.centerIn: parent
            text: qsTr("点击")
            color: "white"
        }
        MouseArea {
            id: area
            anchors.fill: parent
            onPressed: root.writeValue(true)
            onReleased: root.writeValue(false)
            onCanceled: root.writeValue(false)
        }
    }
}
