pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls.Basic
import Rc.IRCAction 1.0
import Rc.RCSceneItemPresenter 1.0
import "../common"

// The scene panel's edit mode, laid over its canvas (coordinates are canvas pixels): selecting
// (press, Ctrl+press, rubber band), the selection frame with its eight resize handles, dragging
// and resizing the selection, the context menus, the keys and drops from the control list.
//
// A drag or a resize writes every step unrecorded and, at the release, records one undo step
// from each item's geometry at the press to its geometry then (nothing when nothing changed). A
// drag step is one call that moves the whole selection by whole scene units; a resize step
// scales the items from their geometry at the press, so rounding never accumulates. Selection and focus are never recorded. Keys act on release (Ctrl+C, Ctrl+V,
// Delete; not on auto-repeat) or on press (the arrows, Shift resizing); the layer takes the
// keyboard focus when pressed and takes it back when its menus close.
Item {
    id: root

    // The scene panel whose canvas this is.
    property var mPanel: null
    readonly property RCSceneItemPresenter mPresenter: mPanel ? mPanel.mSceneItemPresenter : null
    readonly property string mSceneId: mPanel ? mPanel.mSceneId : ""
    readonly property real mScale: mPanel ? mPanel.mScale : 1
    // The selection frame.
    property real mFrameX: 0
    property real mFrameY: 0
    property real mFrameWidth: 0
    property real mFrameHeight: 0
    readonly property int mPressNone: 0
    readonly property int mPressBand: 1
    readonly property int mPressMove: 2
    property int mPressMode: mPressNone
    property point mPressPos: Qt.point(0, 0)
    property rect mBand: Qt.rect(0, 0, 0, 0)
    // The gesture under way: a drag, with its scene, the frame at the press (canvas pixels) and
    // how far the selection has moved (scene units); or a resize, with its scene, each selected
    // item's geometry at the press and their bounding box (scene units). null when none.
    property var mGesture: null
    // A press of the left button is being followed: a drag, a resize or a rubber band.
    readonly property bool mGestureUnderway: mPressMode !== mPressNone || mGesture !== null
    // The context menus, each made at its first right click.
    property Menu mFrameMenu: null
    property Menu mCanvasMenu: null

    // The bounding box of the selected items while a scene is shown and the layer is enabled.
    function updateFrame() {
        var model = mPanel ? mPanel.mItemModel : null
        var box = enabled && model && model.sceneId !== "" ? model.selectionBox : Qt.rect(0, 0, 0, 0)
        if (box.x === 0 && box.y === 0 && box.width === 0 && box.height === 0) {
            mFrameX = mFrameY = mFrameWidth = mFrameHeight = 0
            return
        }
        mFrameX = mPanel.toCanvasX(box.x)
        mFrameY = mPanel.toCanvasY(box.y)
        mFrameWidth = box.width / mScale
        mFrameHeight = box.height / mScale
    }
    function frameContains(p) {
        return mFrameWidth > 0 && mFrameHeight > 0 && p.x > mFrameX && p.x < mFrameX + mFrameWidth
                && p.y > mFrameY && p.y < mFrameY + mFrameHeight
    }
    function setItemValue(itemId, key, value) {
        mPresenter.setPropertyValue(mSceneId, itemId, key, value, false)
    }

    // A left press at p: the pressed item (the topmost view under p) is selected and focused and
    // the press drags the selection; a press inside the frame drags it too; elsewhere the press
    // draws a rubber band and, unless exactly Ctrl is held, clears the selection of every view not
    // under p first. The view layer finds the views; the selection changes in one call.
    function pressAt(p, modifiers) {
        updateFrame()
        mPressPos = p
        mBand = Qt.rect(0, 0, 0, 0)
        mPressMode = frameContains(p) ? mPressMove : mPressBand
        var views = mPanel.mViewLayer
        var pressed = views.itemIdAt(p)
        if (mPressMode === mPressBand && modifiers !== Qt.ControlModifier)
            mPresenter.setItemsSelected(mSceneId, [], views.selectedItemIdsApartFrom(p))
        if (pressed !== "") {
            if (mPressMode === mPressBand) {
                setItemValue(pressed, "Select", true)
                mPressMode = mPressMove
            }
            setItemValue(pressed, "Focus", true)
        }
        updateFrame()
        if (mPressMode === mPressMove)
            beginDrag()
    }
    function beginDrag() {
        mGesture = mPresenter && mSceneId !== "" && mFrameWidth > 0 && mFrameHeight > 0
                ? {"sceneId": mSceneId, "drag": true, "dx": 0, "dy": 0,
                   "frame": Qt.rect(mFrameX, mFrameY, mFrameWidth, mFrameHeight)}
                : null
    }
    function beginResize() {
        var ids = mPresenter && mSceneId !== "" ? mPresenter.getSelectItems(mSceneId) : []
        var items = []
        for (var i = 0; i < ids.length; ++i) {
            var pos = mPresenter.getPos(mSceneId, ids[i])
            var size = mPresenter.getSize(mSceneId, ids[i])
            var g = {"x": pos.x, "y": pos.y, "width": size.width, "height": size.height}
            // "now": what the gesture last wrote
            items.push({"id": ids[i], "x": g.x, "y": g.y, "width": g.width, "height": g.height, "now": g})
        }
        // a copy: the model's box follows the items as the gesture moves them
        var box = mPanel.mItemModel.selectionBox
        mGesture = items.length ? {"sceneId": mSceneId, "items": items,
                                   "box": Qt.rect(box.x, box.y, box.width, box.height)} : null
    }
    // A drag step: the frame's top-left would be at topLeft; the press left it at pressTopLeft.
    // Every selected item moves by the same whole number of scene units.
    function moveSelection(topLeft, pressTopLeft) {
        var gesture = mGesture
        if (!gesture || !gesture.drag || gesture.sceneId !== mSceneId)
            return
        var dx = Math.round((topLeft.x - pressTopLeft.x) * mScale)
        var dy = Math.round((topLeft.y - pressTopLeft.y) * mScale)
        if (dx === gesture.dx && dy === gesture.dy)
            return
        mPresenter.moveSelectItems(mSceneId, dx - gesture.dx, dy - gesture.dy, false)
        gesture.dx = dx
        gesture.dy = dy
        mFrameX = gesture.frame.x + dx / mScale
        mFrameY = gesture.frame.y + dy / mScale
    }
    // A resize step: the frame would take pos and size.
    function scaleSelection(pos, size) {
        if (!mGesture)
            return
        var box = mGesture.box
        var to = mPanel.toScenePoint(pos.x, pos.y)
        var sx = box.width > 0 ? size.width * mScale / box.width : 1
        var sy = box.height > 0 ? size.height * mScale / box.height : 1
        applyGesture(function (item) {
            return {
                "x": Math.round(to.x + (item.x - box.x) * sx),
                "y": Math.round(to.y + (item.y - box.y) * sy),
                "width": Math.max(1, Math.round(item.width * sx)),
                "height": Math.max(1, Math.round(item.height * sy))
            }
        })
    }
    // Writes, unrecorded, geometryOf(the item at the press) to each item of the gesture.
    function applyGesture(geometryOf) {
        if (!mGesture || mGesture.drag || mGesture.sceneId !== mSceneId)
            return
        var items = mGesture.items
        var left = Infinity, top = Infinity, right = -Infinity, bottom = -Infinity
        for (var i = 0; i < items.length; ++i) {
            var g = geometryOf(items[i])
            var now = items[i].now
            if (now.x !== g.x || now.y !== g.y)
                mPresenter.setPos(mSceneId, items[i].id, Qt.point(g.x, g.y), false)
            if (now.width !== g.width || now.height !== g.height)
                mPresenter.setSize(mSceneId, items[i].id, Qt.size(g.width, g.height), false)
            items[i].now = g
            left = Math.min(left, g.x)
            top = Math.min(top, g.y)
            right = Math.max(right, g.x + Math.max(0, g.width))
            bottom = Math.max(bottom, g.y + Math.max(0, g.height))
        }
        // the selection is the gesture's
        mFrameX = mPanel.toCanvasX(left)
        mFrameY = mPanel.toCanvasY(top)
        mFrameWidth = (right - left) / mScale
        mFrameHeight = (bottom - top) / mScale
    }
    function writeGeometry(itemId, g, record) {
        var pos = mPresenter.getPos(mSceneId, itemId)
        var size = mPresenter.getSize(mSceneId, itemId)
        if (pos.x !== g.x || pos.y !== g.y)
            mPresenter.setPos(mSceneId, itemId, Qt.point(g.x, g.y), record)
        if (size.width !== g.width || size.height !== g.height)
            mPresenter.setSize(mSceneId, itemId, Qt.size(g.width, g.height), record)
    }
    // Ends the gesture: when it changed anything, puts the changed items back to their geometry
    // at the press and records, as one undo step, their move to where the gesture left them.
    function endGesture() {
        var gesture = mGesture
        mGesture = null
        if (!gesture || gesture.sceneId !== mSceneId || !mPresenter)
            return
        if (gesture.drag) {
            if (gesture.dx === 0 && gesture.dy === 0)
                return
            mPresenter.moveSelectItems(mSceneId, -gesture.dx, -gesture.dy, false)
            mPresenter.moveSelectItems(mSceneId, gesture.dx, gesture.dy, true)
            updateFrame()
            return
        }
        var changed = []
        for (var i = 0; i < gesture.items.length; ++i) {
            var item = gesture.items[i]
            if (!mPresenter.containProperty(mSceneId, item.id, "X"))
                continue
            var pos = mPresenter.getPos(mSceneId, item.id)
            var size = mPresenter.getSize(mSceneId, item.id)
            if (pos.x !== item.x || pos.y !== item.y || size.width !== item.width || size.height !== item.height)
                changed.push({"start": item, "end": {"x": pos.x, "y": pos.y, "width": size.width, "height": size.height}})
        }
        if (!changed.length)
            return
        var commands = mPanel.mProject.getCmdPresenter()
        for (var j = 0; j < changed.length; ++j)
            writeGeometry(changed[j].start.id, changed[j].start, false)
        commands.beginCommandGroup()
        try {
            for (var k = 0; k < changed.length; ++k)
                writeGeometry(changed[k].start.id, changed[k].end, true)
        } finally {
            commands.endCommandGroup()
        }
        updateFrame()
    }

    // The pointer is at p while a rubber band is drawn: an axis whose span from the press is
    // under 5 dp keeps the band's extent; every view with a corner strictly inside the band is
    // selected, every other one not, in one call.
    function stretchBand(p) {
        var band = Qt.rect(mBand.x, mBand.y, mBand.width, mBand.height)
        if (Math.abs(p.x - mPressPos.x) >= 5 * RCUnits.dp) {
            band.x = Math.min(p.x, mPressPos.x)
            band.width = Math.abs(p.x - mPressPos.x)
        }
        if (Math.abs(p.y - mPressPos.y) >= 5 * RCUnits.dp) {
            band.y = Math.min(p.y, mPressPos.y)
            band.height = Math.abs(p.y - mPressPos.y)
        }
        if (band.x === mBand.x && band.y === mBand.y && band.width === mBand.width && band.height === mBand.height)
            return
        mBand = band
        var changes = mPanel.mViewLayer.bandSelection(band)
        mPresenter.setItemsSelected(mSceneId, changes.select, changes.deselect)
    }
    function releasePress() {
        mBand = Qt.rect(0, 0, 0, 0)
        mPressMode = mPressNone
        endGesture()
    }

    function triggerSceneAction(actType, data) {
        if (mPanel && mPanel.mScenePresenter && mSceneId !== "")
            mPanel.mScenePresenter.triggerAction(mSceneId, actType, data)
    }
    // A right click at p: the selection's menu inside the frame, else the paste menu, which
    // pastes (and Ctrl+C, Ctrl+V use) the clicked scene point.
    function contextMenuAt(p) {
        if (mSceneId === "")
            return
        updateFrame()
        if (frameContains(p)) {
            if (!mFrameMenu)
                mFrameMenu = frameMenuComponent.createObject(root)
            mFrameMenu.popup()
        } else {
            mPanel.mPastePos = mPanel.mCopyPos = mPanel.toScenePoint(p.x, p.y)
            if (!mCanvasMenu)
                mCanvasMenu = canvasMenuComponent.createObject(root)
            mCanvasMenu.popup()
        }
    }
    // A control dropped at p becomes a new item with its top-left there (adding it is the undo
    // step), the only selected item and the focused one. Answers its id, "" when none was added.
    function dropControl(controlId, p) {
        var controls = mPanel ? mPanel.mControlManager : null
        var control = controls && controlId !== "" ? controls.getControlById(controlId) : null
        if (!control || !mPresenter || mSceneId === "")
            return ""
        var itemId = mPresenter.addItem(mSceneId, control.getInstantiationParam().toJson(), true)
        if (itemId === "")
            return ""
        mPresenter.setPos(mSceneId, itemId, mPanel.toScenePoint(p.x, p.y), false)
        mPresenter.setItemsSelected(mSceneId, [itemId], mPresenter.getSelectItems(mSceneId))
        setItemValue(itemId, "Focus", true)
        return itemId
    }
    function handleKeyRelease(event) {
        if (event.isAutoRepeat)
            return
        if (event.key === Qt.Key_V && event.modifiers === Qt.ControlModifier)
            triggerSceneAction(IRCAction.EActionType_PasteSceneItem, mPanel.mPastePos)
        else if (event.key === Qt.Key_C && event.modifiers === Qt.ControlModifier)
            triggerSceneAction(IRCAction.EActionType_CopySceneItem, mPanel.mCopyPos)
        else if (event.key === Qt.Key_Delete && event.modifiers === Qt.NoModifier)
            triggerSceneAction(IRCAction.EActionType_RemoveSelectSceneItem, "")
        else
            return
        event.accepted = true
    }
    function handleKeyPress(event) {
        if (event.key !== Qt.Key_Left && event.key !== Qt.Key_Right && event.key !== Qt.Key_Up
                && event.key !== Qt.Key_Down)
            return
        triggerSceneAction(event.modifiers === Qt.ShiftModifier ? IRCAction.EActionType_SelectItemsScaleByKey
                                                                 : IRCAction.EActionType_SelectItemsMoveByKey,
                           event.key)
        event.accepted = true
    }

    visible: enabled

    onEnabledChanged: {
        releasePress()
        updateFrame()
    }
    // Here rather than in the panel: the panel's own handler can run before this layer's mScale has
    // the new value, which would give the frame the new place and the old size.
    onMScaleChanged: updateFrame()
    Keys.onPressed: event => handleKeyPress(event)
    Keys.onReleased: event => handleKeyRelease(event)

    DropArea {
        objectName: "sceneDropArea"
        anchors.fill: parent
        onEntered: drag => {
            drag.accepted = root.mSceneId !== ""
        }
        onDropped: drop => {
            if (root.mSceneId !== "" && drop.supportedActions === Qt.CopyAction
                    && drop.getDataAsString("dragType") === "control")
                root.dropControl(drop.getDataAsString("controlId"), Qt.point(drop.x, drop.y))
            drop.accept(Qt.CopyAction)
        }
    }
    RCMoveArea {
        id: moveArea
        objectName: "sceneMoveArea"
        anchors.fill: parent
        mOperatorItem: frame

        onPressedBegin: mouse => {
            root.forceActiveFocus()
            root.mPressMode = root.mPressNone
            if (mouse.button === Qt.LeftButton && root.mSceneId !== "")
                root.pressAt(Qt.point(mouse.x, mouse.y), mouse.modifiers)
        }
        onMovePos: pos => {
            if (root.mPressMode === root.mPressMove)
                root.moveSelection(pos, moveArea.mItemPos)
        }
        onPositionChanged: mouse => {
            if (root.mPressMode === root.mPressBand)
                root.stretchBand(Qt.point(mouse.x, mouse.y))
        }
        onReleased: root.releasePress()
        onCanceled: root.releasePress()
        onClicked: mouse => {
            if (mouse.button === Qt.RightButton)
                root.contextMenuAt(Qt.point(mouse.x, mouse.y))
        }
    }
    // The band's green 2 dp border as four strips: a bordered rectangle would have the software
    // renderer paint everything inside it again at every step of the band.
    Item {
        id: band
        objectName: "sceneBand"
        x: root.mBand.x
        y: root.mBand.y
        width: root.mBand.width
        height: root.mBand.height
        visible: width > 0 && height > 0

        Rectangle {
            width: band.width
            height: 2 * RCUnits.dp
            color: "green"
        }
        Rectangle {
            y: band.height - height
            width: band.width
            height: 2 * RCUnits.dp
            color: "green"
        }
        Rectangle {
            width: 2 * RCUnits.dp
            height: band.height
            color: "green"
        }
        Rectangle {
            x: band.width - width
            width: 2 * RCUnits.dp
            height: band.height
            color: "green"
        }
    }
    Item {
        id: frame
        objectName: "sceneSelectFrame"
        x: root.mFrameX
        y: root.mFrameY
        width: root.mFrameWidth
        height: root.mFrameHeight
        visible: width > 0 && height > 0

        // the blue 2 dp border as four strips, drawn as a bordered rectangle draws it (inside its
        // place widened to whole pixels): a bordered rectangle that follows a growing selection
        // would have the software renderer paint everything inside it again
        readonly property real mOuterWidth: Math.ceil(width)
        readonly property real mOuterHeight: Math.ceil(height)
        // Blue a 255th short of opaque, which no eye tells apart: the software renderer leaves a
        // translucent piece out of what it takes as covered, and so does not cut the region it
        // repaints into pieces around the border and handles when thousands of veils under them
        // come or go (select all) or a band drags them along.
        readonly property color mColor: "#fe0000ff"

        Rectangle {
            width: frame.mOuterWidth
            height: Math.min(2 * RCUnits.dp, frame.mOuterHeight / 2)
            color: frame.mColor
        }
        Rectangle {
            y: frame.mOuterHeight - height
            width: frame.mOuterWidth
            height: Math.min(2 * RCUnits.dp, frame.mOuterHeight / 2)
            color: frame.mColor
        }
        Rectangle {
            width: Math.min(2 * RCUnits.dp, frame.mOuterWidth / 2)
            height: frame.mOuterHeight
            color: frame.mColor
        }
        Rectangle {
            x: frame.mOuterWidth - width
            width: Math.min(2 * RCUnits.dp, frame.mOuterWidth / 2)
            height: frame.mOuterHeight
            color: frame.mColor
        }
        Repeater {
            model: [
                {"type": "leftTop", "fx": 0, "fy": 0},
                {"type": "middleTop", "fx": 0.5, "fy": 0},
                {"type": "rightTop", "fx": 1, "fy": 0},
                {"type": "rightMiddle", "fx": 1, "fy": 0.5},
                {"type": "rightBottom", "fx": 1, "fy": 1},
                {"type": "middleBottom", "fx": 0.5, "fy": 1},
                {"type": "leftBottom", "fx": 0, "fy": 1},
                {"type": "leftMiddle", "fx": 0, "fy": 0.5}
            ]
            RCScaleArea {
                required property var modelData

                objectName: "sceneHandle_" + modelData.type
                x: frame.width * modelData.fx - width / 2
                y: frame.height * modelData.fy - height / 2
                width: 6 * RCUnits.dp
                height: 6 * RCUnits.dp
                mType: modelData.type
                mRelativeItem: frame

                onSig_press: {
                    root.forceActiveFocus()
                    root.beginResize()
                }
                onSig_scale: (pos, size) => root.scaleSelection(pos, size)
                onReleased: root.endGesture()
                onCanceled: root.endGesture()

                Rectangle {
                    anchors.fill: parent
                    color: frame.mColor
                }
            }
        }
    }
    // A menu takes the keyboard from the layer while it is open and gives it back when it closes.
    // The menus are as high as their entries, on black: the style's background is higher than one
    // entry and would show as a light strip under it.
    component CanvasMenu: Menu {
        padding: 0
        background: Rectangle {
            implicitWidth: 200 * RCUnits.dp
            color: "black"
        }
    }
    Component {
        id: frameMenuComponent

        CanvasMenu {
            objectName: "sceneFrameMenu"

            onClosed: root.forceActiveFocus()

            RCMenuItem {
                objectName: "sceneMenuCopy"
                text: qsTr("复制")
                onTriggered: root.triggerSceneAction(IRCAction.EActionType_CopySceneItem, "")
            }
            // Removes the selection as one undo step, as the Delete key does.
            RCMenuItem {
                objectName: "sceneMenuRemove"
                text: qsTr("删除")
                onTriggered: root.triggerSceneAction(IRCAction.EActionType_RemoveSelectSceneItem, "")
            }
        }
    }
    Component {
        id: canvasMenuComponent

        CanvasMenu {
            objectName: "sceneCanvasMenu"

            onClosed: root.forceActiveFocus()

            RCMenuItem {
                objectName: "sceneMenuPaste"
                text: qsTr("黏贴")
                onTriggered: root.triggerSceneAction(IRCAction.EActionType_PasteSceneItem, root.mPanel.mPastePos)
            }
        }
    }
}
