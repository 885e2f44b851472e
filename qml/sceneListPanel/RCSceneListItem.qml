pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls.Basic
import "../common"
import Rc.IRCImageManager 1.0

// One scene tile: the scene's icon filling the tile, a blue veil over it while the scene is
// selected, and the scene's name centred on top. Left click reports sig_clicked(). With
// mMenuEnabled a right click opens "插入" / "删除" at the tile's right edge; with mDragEnabled a
// press dragged more than 10 pixels sideways starts a drag of the scene
// ({"dragType": "scene", "sceneId"}, move).
Rectangle {
    id: root

    property string mSceneId: ""
    property string mName: ""
    property string mIconPath: ""
    // Resolves a project picture in mIconPath.
    property IRCImageManager mImageManager: null
    property bool mSelect: false
    property color mFontColor: "#FA5611"
    property real mFontSize: 25
    property bool mMenuEnabled: false
    property bool mDragEnabled: false
    property real mPressX: 0
    property bool mDragStarting: false
    // the tile's menu, made on its first use
    property var mMenu: null

    color: "#1a1a1d"
    Drag.dragType: Drag.Automatic
    Drag.supportedActions: Qt.MoveAction
    Drag.hotSpot: Qt.point(10 * RCUnits.dp, 10 * RCUnits.dp)
    Drag.mimeData: dragPayload()

    signal sig_clicked
    signal sig_insert
    signal sig_remove

    function dragPayload() {
        return {"dragType": "scene", "sceneId": mSceneId}
    }
    function openMenu() {
        if (!mMenu)
            mMenu = menuComponent.createObject(root)
        mMenu.popup(root.width, 0)
    }
    // Grabs the tile and starts the drag once the picture is ready (the button may be up by then).
    function startDrag() {
        mDragStarting = true
        root.grabToImage(function (result) {
            if (!mDragStarting)
                return
            mDragStarting = false
            root.Drag.imageSource = result.url
            root.Drag.active = true
        })
    }

    Drag.onDragFinished: Drag.active = false

    RCImage {
        anchors.fill: parent
        source: root.mIconPath
        mImageManager: root.mImageManager
    }
    Rectangle {
        objectName: "sceneTileMark"
        anchors.fill: parent
        color: "blue"
        opacity: 0.5
        visible: root.mSelect
    }
    RCText {
        objectName: "sceneTileName"
        anchors.centerIn: parent
        width: parent.width - 8 * RCUnits.dp
        text: root.mName
        color: root.mFontColor
        font.pixelSize: root.mFontSize * RCUnits.dp
        horizontalAlignment: Text.AlignHCenter
        elide: Text.ElideRight
    }
    MouseArea {
        anchors.fill: parent
        acceptedButtons: Qt.LeftButton | Qt.RightButton
        onPressed: mouse => {
            root.mPressX = mouse.x
        }
        onPositionChanged: mouse => {
            if (root.mDragEnabled && (mouse.buttons & Qt.LeftButton) && !root.mDragStarting
                    && !root.Drag.active && Math.abs(mouse.x - root.mPressX) > 10 * RCUnits.dp)
                root.startDrag()
        }
        onReleased: root.mDragStarting = false
        onClicked: mouse => {
            if (mouse.button === Qt.LeftButton)
                root.sig_clicked()
            else if (root.mMenuEnabled)
                root.openMenu()
        }
    }
    Component {
        id: menuComponent

        Menu {
            objectName: "sceneTileMenu"
            width: 100 * RCUnits.dp
            height: 60 * RCUnits.dp
            padding: 0

            RCMenuItem {
                objectName: "sceneTileInsert"
                text: qsTr("插入")
                onTriggered: root.sig_insert()
            }
            RCMenuItem {
                objectName: "sceneTileRemove"
                text: qsTr("删除")
                onTriggered: root.sig_remove()
            }
        }
    }
}
