pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls.Basic
import "../common"
import Rc.IRCImageManager 1.0
import Rc.IRCProject 1.0
import Rc.RCScenePresenter 1.0

// The strip of the project's scenes: one tile per scene in the project's order, the selected
// one marked; a tap selects a scene and gives it the editing focus. In edit mode the designer
// adds a scene (the button at the right), inserts or removes one (the tile's menu, while there
// is more than one scene) and reorders them by dragging a tile. The list only follows the
// presenter's signals, so its order is always the project's. The strip keeps the selected scene
// in view; the wheel scrolls it, and so does a dragged tile held near either end of the strip.
// A strip that is not shown (mShown) has no tiles and follows nothing; it is filled again when
// it is shown.
Rectangle {
    id: root

    property RCScenePresenter mScenePresenter: null
    // Whether the strip shows the scenes: while it is visible, unless told otherwise (a layout
    // drawn into a picture while hidden).
    property bool mShown: visible
    property IRCProject mProject: null
    // Resolves the scenes' project pictures.
    property IRCImageManager mImageManager: null
    property bool mInEditState: true
    property string mSelectSceneId: ""
    // While a scene tile is dragged over the list: where it would go, else -1.
    property int mDropIndex: -1
    readonly property real mTileWidth: 256 * RCUnits.dp
    readonly property real mTileSpacing: 1 * RCUnits.dp
    // While a dragged tile is held near an end of the strip: -1 (left), 1 (right), else 0.
    property int mAutoScroll: 0
    // Where the dragged tile was last reported (list coordinates).
    property real mDragX: 0
    readonly property real mAutoScrollMargin: 40 * RCUnits.dp
    property bool mCompleted: false

    color: "black"

    function fill() {
        sceneModel.clear()
        mSelectSceneId = mShown && mScenePresenter ? mScenePresenter.getSelectSceneId() : ""
        if (!mShown || !mScenePresenter)
            return
        var ids = mScenePresenter.getSceneIds()
        var rows = []
        for (var i = 0; i < ids.length; ++i)
            rows.push(rowFor(ids[i]))
        sceneModel.append(rows)
        showScene(mSelectSceneId)
    }
    function sceneModelCount() {
        return sceneModel.count
    }
    // The row at index: {"id", "name", "iconPath", "select", "scenePresenter"}.
    function sceneRow(index) {
        return sceneModel.get(index)
    }
    function rowOf(sceneId) {
        for (var i = 0; i < sceneModel.count; ++i) {
            if (sceneModel.get(i).id === sceneId)
                return i
        }
        return -1
    }
    // Adds the scene's row at index (appended for -1 or past the end) unless it is there.
    function addRow(sceneId, index) {
        if (rowOf(sceneId) >= 0)
            return
        var row = rowFor(sceneId)
        if (index < 0 || index >= sceneModel.count)
            sceneModel.append(row)
        else
            sceneModel.insert(index, row)
    }
    function rowFor(sceneId) {
        return {
            "id": sceneId,
            "name": textOf(sceneId, "Name"),
            "iconPath": textOf(sceneId, "IconPath"),
            "select": sceneId === mSelectSceneId,
            "scenePresenter": mScenePresenter
        }
    }
    function textOf(sceneId, name) {
        var value = mScenePresenter.getPropertyValue(sceneId, name)
        return value === undefined || value === null ? "" : String(value)
    }
    function markScene(sceneId) {
        mSelectSceneId = sceneId
        for (var i = 0; i < sceneModel.count; ++i)
            sceneModel.setProperty(i, "select", sceneModel.get(i).id === sceneId)
        showScene(sceneId)
    }
    // Scrolls the strip as little as needed for the scene's tile to be in view.
    function showScene(sceneId) {
        var row = rowOf(sceneId)
        if (row >= 0)
            sceneList.positionViewAtIndex(row, ListView.Contain)
    }
    // Scrolls the strip by delta pixels (positive: towards the last scene), within its content.
    function scrollBy(delta) {
        var first = sceneList.originX
        var last = first + Math.max(0, sceneList.contentWidth - sceneList.width)
        sceneList.contentX = Math.max(first, Math.min(last, sceneList.contentX + delta))
    }
    function wheelScroll(wheel) {
        var delta = wheel.angleDelta.y !== 0 ? wheel.angleDelta.y : wheel.angleDelta.x
        scrollBy(-delta / 120 * (mTileWidth + mTileSpacing) / 2)
    }
    // A dragged tile at x: near an end of the strip the strip scrolls that way.
    function dragMovedTo(x) {
        mDragX = x
        mAutoScroll = x < mAutoScrollMargin ? -1 : x > sceneList.width - mAutoScrollMargin ? 1 : 0
    }
    // Selects the first scene other than exceptId and gives it the focus; with none left the
    // selection is cleared.
    function selectFirstScene(exceptId) {
        var ids = mScenePresenter.getSceneIds()
        for (var i = 0; i < ids.length; ++i) {
            if (ids[i] !== exceptId) {
                mScenePresenter.setPropertyValue(ids[i], "Focus", true, false)
                mScenePresenter.setSelectScene(ids[i])
                return
            }
        }
        mScenePresenter.setSelectScene("")
    }
    function selectScene(sceneId) {
        mScenePresenter.setSelectScene(sceneId)
        mScenePresenter.setPropertyValue(sceneId, "Focus", true, false)
    }
    // "场景" with the smallest number no scene is named with yet.
    function newSceneName() {
        var used = {}
        var ids = mScenePresenter.getSceneIds()
        for (var i = 0; i < ids.length; ++i)
            used[textOf(ids[i], "Name")] = true
        var n = 1
        while (used[qsTr("场景") + n])
            ++n
        return qsTr("场景") + n
    }
    // The size for a scene about to be added (the presenter decides; a template copy keeps its
    // template's size).
    function newSceneSize() {
        return mScenePresenter.getNewSceneSize(mProject ? mProject.getTemplateProjectSceneSize()
                                                        : Qt.size(-1, -1))
    }
    // Adds a scene (appended for -1, else inserted at index) as one undo step, selects it and
    // gives it the focus. Answers its id, "" when it could not be added.
    function addNewScene(index) {
        var name = newSceneName()
        var size = newSceneSize()
        var background = "qrc:/sceneBackground.png"
        var sceneId = index < 0 ? mScenePresenter.addScene(name, "", background, true)
                                : mScenePresenter.insertScene(name, "", background, index, true)
        if (sceneId === "")
            return ""
        mScenePresenter.setPropertyValue(sceneId, "Width", size.width, false)
        mScenePresenter.setPropertyValue(sceneId, "Height", size.height, false)
        selectScene(sceneId)
        return sceneId
    }
    // Where a scene dragged from index `from` goes while the pointer is at x (list coordinates):
    // onto a tile once the pointer is more than 50 pixels into it from the side it came from.
    function dropIndexAt(x, from) {
        var pitch = mTileWidth + mTileSpacing
        var hovered = Math.floor((x + sceneList.contentX) / pitch)
        hovered = Math.max(0, Math.min(sceneModel.count - 1, hovered))
        var into = x + sceneList.contentX - hovered * pitch
        if (hovered > from && into > 50 * RCUnits.dp)
            return hovered
        if (hovered < from && into < mTileWidth - 50 * RCUnits.dp)
            return hovered
        return mDropIndex >= 0 ? mDropIndex : from
    }
    // A scene dropped at toIndex: moved there in the project (one undo step); the list follows.
    function dropScene(sceneId, toIndex) {
        var from = mScenePresenter.getSceneIndex(sceneId)
        if (from < 0 || toIndex < 0 || toIndex === from)
            return false
        return mScenePresenter.moveScene(sceneId, toIndex, true)
    }

    onMScenePresenterChanged: {
        if (mCompleted)
            fill()
    }
    onMShownChanged: {
        if (mCompleted)
            fill()
    }
    Component.onCompleted: {
        mCompleted = true
        fill()
    }

    Connections {
        target: root.mScenePresenter
        enabled: root.mShown

        function onSceneAdd(sceneId, index) {
            root.addRow(sceneId, index)
        }
        function onSceneRemove(sceneId) {
            // A scene that is still in the project is being deleted; one already gone from it is
            // being moved and comes back at once, still selected.
            if (sceneId === root.mSelectSceneId && root.mScenePresenter.getSceneIndex(sceneId) >= 0)
                root.selectFirstScene(sceneId)
            var row = root.rowOf(sceneId)
            if (row >= 0)
                sceneModel.remove(row)
        }
        function onScenePropertyValueChanged(sceneId, sName, value) {
            if (sName !== "Name" && sName !== "IconPath")
                return
            var row = root.rowOf(sceneId)
            if (row >= 0) {
                sceneModel.setProperty(row, "name", root.textOf(sceneId, "Name"))
                sceneModel.setProperty(row, "iconPath", root.textOf(sceneId, "IconPath"))
            }
        }
        function onSceneSelectChanged(sceneId) {
            root.markScene(sceneId)
        }
    }
    ListModel {
        id: sceneModel
    }
    ListView {
        id: sceneList
        objectName: "sceneList"
        anchors.left: parent.left
        anchors.top: parent.top
        anchors.bottom: parent.bottom
        anchors.right: addButton.visible ? addButton.left : parent.right
        anchors.rightMargin: addButton.visible ? 1 * RCUnits.dp : 0
        orientation: ListView.Horizontal
        spacing: root.mTileSpacing
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        // every tile stays made: a dragged tile that the strip scrolls out of view must not go,
        // or its drag would end with it
        cacheBuffer: sceneModel.count * (root.mTileWidth + root.mTileSpacing)
        model: sceneModel
        ScrollBar.horizontal: ScrollBar {
            objectName: "sceneScrollBar"
            height: 10 * RCUnits.dp
            // shown whenever the scenes do not fit, not only while the pointer is on it
            policy: ScrollBar.AlwaysOn
            visible: sceneList.contentWidth > sceneList.width
        }
        delegate: RCSceneListItem {
            // The scene's row: id, name, iconPath, select.
            required property var model

            objectName: "sceneTile_" + model.id
            width: root.mTileWidth
            height: ListView.view.height
            mSceneId: model.id
            mName: model.name
            mIconPath: model.iconPath
            mImageManager: root.mImageManager
            mSelect: model.select
            mMenuEnabled: root.mInEditState && sceneModel.count > 1
            mDragEnabled: root.mInEditState
            onSig_clicked: root.selectScene(mSceneId)
            onSig_insert: root.addNewScene(root.mScenePresenter.getSceneIndex(mSceneId))
            onSig_remove: root.mScenePresenter.removeScene(mSceneId, true)
        }
    }
    MouseArea {
        objectName: "sceneWheelArea"
        anchors.fill: sceneList
        acceptedButtons: Qt.NoButton
        onWheel: wheel => root.wheelScroll(wheel)
    }
    Timer {
        interval: 40
        repeat: true
        running: root.mAutoScroll !== 0
        onTriggered: {
            root.scrollBy(root.mAutoScroll * 16 * RCUnits.dp)
            if (sceneDrop.mFromIndex >= 0)
                root.mDropIndex = root.dropIndexAt(root.mDragX, sceneDrop.mFromIndex)
        }
    }
    // the drop mark: where the dragged scene would go
    Rectangle {
        objectName: "sceneDropMark"
        visible: root.mDropIndex >= 0
        width: 3 * RCUnits.dp
        height: sceneList.height
        color: "#3A74EA"
        x: {
            var pitch = root.mTileWidth + root.mTileSpacing
            var from = sceneDrop.mFromIndex
            var slot = root.mDropIndex > from ? root.mDropIndex + 1 : root.mDropIndex
            return Math.max(0, Math.min(sceneList.width - width, slot * pitch - sceneList.contentX - width / 2))
        }
    }
    DropArea {
        id: sceneDrop

        property int mFromIndex: -1

        anchors.fill: sceneList
        enabled: root.mInEditState
        onEntered: drag => {
            var sceneId = drag.getDataAsString("sceneId")
            if (drag.getDataAsString("dragType") !== "scene" || root.rowOf(sceneId) < 0) {
                drag.accepted = false
                return
            }
            mFromIndex = root.rowOf(sceneId)
            root.mDropIndex = -1
        }
        onPositionChanged: drag => {
            if (mFromIndex < 0)
                return
            root.mDropIndex = root.dropIndexAt(drag.x, mFromIndex)
            root.dragMovedTo(drag.x)
        }
        onExited: {
            root.mDropIndex = -1
            root.mAutoScroll = 0
            mFromIndex = -1
        }
        onDropped: drop => {
            var target = root.mDropIndex
            root.mDropIndex = -1
            root.mAutoScroll = 0
            mFromIndex = -1
            if (drop.getDataAsString("dragType") !== "scene")
                return
            drop.acceptProposedAction()
            root.dropScene(drop.getDataAsString("sceneId"), target)
        }
    }
    Rectangle {
        id: addButton
        objectName: "addSceneButton"
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.bottom: parent.bottom
        width: 70 * RCUnits.dp
        visible: root.mInEditState
        color: addArea.pressed ? "#3A74EA" : "#1A1A1D"

        RCImage {
            anchors.centerIn: parent
            width: 40 * RCUnits.dp
            height: 40 * RCUnits.dp
            source: addArea.pressed ? "qrc:/addScenePress.png" : "qrc:/addScene.png"
        }
        MouseArea {
            id: addArea
            anchors.fill: parent
            onClicked: root.addNewScene(-1)
        }
    }
}
