import QtQuick
import "../common"
import Rc.IRCControl 1.0

// One control of the catalogue: its icon and, under it, its name. A press starts a drag of the
// control ({"dragType": "control", "controlId"}, copy) with the tile's picture, hot spot (10, 10);
// the scene canvas takes the drop. The tile itself stays where it is.
Item {
    id: root

    property IRCControl mControl: null
    readonly property string mControlId: mControl ? mControl.getId() : ""

    width: 44.4 * RCUnits.dp
    height: 25 * RCUnits.dp
    Drag.dragType: Drag.Automatic
    Drag.supportedActions: Qt.CopyAction
    Drag.hotSpot: Qt.point(10 * RCUnits.dp, 10 * RCUnits.dp)
    Drag.mimeData: dragPayload()

    function dragPayload() {
        return {"dragType": "control", "controlId": mControlId}
    }
    // Grabs the tile and starts the drag once the picture is ready, if the button is still down
    // (a quick tap ends before that and starts no drag).
    function startDrag() {
        icon.grabToImage(function (result) {
            if (!pressArea.pressed)
                return
            root.Drag.imageSource = result.url
            root.Drag.active = true
        })
    }

    Drag.onDragFinished: Drag.active = false

    RCImage {
        id: icon
        objectName: "controlIcon"
        width: parent.width
        height: 25 * RCUnits.dp
        source: root.mControl ? root.mControl.getIconPath() : ""
        fillMode: Image.PreserveAspectFit
    }
    RCText {
        objectName: "controlName"
        anchors.top: icon.bottom
        anchors.topMargin: 3 * RCUnits.dp
        anchors.horizontalCenter: parent.horizontalCenter
        // the name may use the spacing beside the tile, on two lines at most
        width: parent.width + 30 * RCUnits.dp
        text: root.mControl ? root.mControl.getName() : ""
        color: "white"
        horizontalAlignment: Text.AlignHCenter
        wrapMode: Text.WrapAtWordBoundaryOrAnywhere
        maximumLineCount: 2
        elide: Text.ElideRight
    }
    MouseArea {
        id: pressArea
        anchors.fill: parent
        onPressed: root.startDrag()
    }
}
