import QtQuick

// One of the eight resize handles of an item (mType names it: "leftTop", "middleTop",
// "rightTop", "rightMiddle", "rightBottom", "middleBottom", "leftBottom", "leftMiddle").
// Dragging it reports the geometry mRelativeItem would take, in the coordinates of the item's
// parent (the scene): sig_scale(pos, size). It only reports; the caller applies the geometry.
//
// The edges of the handle move with the pointer, once it has travelled 3 pixels on an axis.
// No side gets shorter than 24 and no moving edge leaves the scene. With exactly Shift held the
// item keeps the height-to-width ratio it had at the press: the larger travel sets the scale,
// which is then limited by the edges that move and by the minimum size.
MouseArea {
    id: root

    property string mType: ""
    property Item mRelativeItem: null
    property bool mEnableMove: true

    // the press: pointer, item geometry and scene size, and the travels since
    property point mPressPos: Qt.point(0, 0)
    property rect mOldGeometry: Qt.rect(0, 0, 0, 0)
    property rect mGeometry: Qt.rect(0, 0, 0, 0)
    property size mSceneSize: Qt.size(0, 0)
    property real mDx: 0
    property real mDy: 0

    readonly property real mMinSide: 24
    // the outward direction of the edges this handle moves: -1 left/top, 1 right/bottom, 0 none
    readonly property int mSideX: mType.indexOf("left") === 0 ? -1 : (mType.indexOf("right") === 0 ? 1 : 0)
    readonly property int mSideY: mType.indexOf("Top") > 0 ? -1 : (mType.indexOf("Bottom") > 0 ? 1 : 0)

    acceptedButtons: Qt.LeftButton | Qt.RightButton
    hoverEnabled: true
    cursorShape: {
        switch (mType) {
        case "leftTop":
        case "rightBottom":
            return Qt.SizeFDiagCursor
        case "rightTop":
        case "leftBottom":
            return Qt.SizeBDiagCursor
        case "middleTop":
        case "middleBottom":
            return Qt.SizeVerCursor
        case "leftMiddle":
        case "rightMiddle":
            return Qt.SizeHorCursor
        }
        return Qt.ArrowCursor
    }

    signal sig_scale(point pos, size size)
    signal sig_press

    function sceneParent() {
        return mRelativeItem ? mRelativeItem.parent : null
    }
    // The length of a side after its edge moved by travel (outward positive): at least the
    // minimum, and the edge stays inside [0, limit] where limit is the scene's extent.
    function clampTravel(travel, oldPos, oldLength, sceneLength, side) {
        if (side < 0)
            travel = Math.min(travel, oldPos)                             // left/top edge at 0
        else
            travel = Math.min(travel, sceneLength - oldPos - oldLength)   // right/bottom at the edge
        return Math.max(travel, mMinSide - oldLength)
    }
    function applyX() {
        var g = mOldGeometry
        var grow = clampTravel(mSideX * mDx, g.x, g.width, mSceneSize.width, mSideX)
        mGeometry.width = g.width + grow
        mGeometry.x = mSideX < 0 ? g.x - grow : g.x
    }
    function applyY() {
        var g = mOldGeometry
        var grow = clampTravel(mSideY * mDy, g.y, g.height, mSceneSize.height, mSideY)
        mGeometry.height = g.height + grow
        mGeometry.y = mSideY < 0 ? g.y - grow : g.y
    }
    // Shift: one scale for both sides. Middle handles grow the other side towards the right or
    // the bottom, keeping x or y.
    function applyRatio() {
        var g = mOldGeometry
        var growX = mSideX * mDx / g.width
        var growY = mSideY * mDy / g.height
        var scale
        if (mSideX === 0)
            scale = 1 + growY
        else if (mSideY === 0)
            scale = 1 + growX
        else
            scale = 1 + (Math.abs(mDx) > Math.abs(mDy) ? growX : growY)
        var sideX = mSideX !== 0 ? mSideX : 1
        var sideY = mSideY !== 0 ? mSideY : 1
        var maxWidth = sideX < 0 ? g.x + g.width : mSceneSize.width - g.x
        var maxHeight = sideY < 0 ? g.y + g.height : mSceneSize.height - g.y
        scale = Math.min(scale, maxWidth / g.width, maxHeight / g.height)
        scale = Math.max(scale, mMinSide / g.width, mMinSide / g.height)
        mGeometry.width = g.width * scale
        mGeometry.height = g.height * scale
        mGeometry.x = sideX < 0 ? g.x + g.width - mGeometry.width : g.x
        mGeometry.y = sideY < 0 ? g.y + g.height - mGeometry.height : g.y
    }

    // The pointer is at p (scene coordinates) while pressed: reports the geometry for it.
    function moveTo(p, keepRatio) {
        if (!mEnableMove || !mRelativeItem)
            return
        var dx = p.x - mPressPos.x
        var dy = p.y - mPressPos.y
        var movedX = Math.abs(dx) >= 3 * RCUnits.dp && dx !== 0
        var movedY = Math.abs(dy) >= 3 * RCUnits.dp && dy !== 0
        if (movedX)
            mDx = dx
        if (movedY)
            mDy = dy
        if (!movedX && !movedY)
            return
        if (keepRatio && mOldGeometry.width > 0 && mOldGeometry.height > 0) {
            applyRatio()
        } else {
            if (movedX && mSideX !== 0)
                applyX()
            if (movedY && mSideY !== 0)
                applyY()
        }
        sig_scale(Qt.point(mGeometry.x, mGeometry.y), Qt.size(mGeometry.width, mGeometry.height))
    }

    onPressed: mouse => {
        var item = mRelativeItem
        var scene = sceneParent()
        mPressPos = mapToItem(scene, mouse.x, mouse.y)
        mOldGeometry = item ? Qt.rect(item.x, item.y, item.width, item.height) : Qt.rect(0, 0, 0, 0)
        mGeometry = mOldGeometry
        mSceneSize = scene ? Qt.size(scene.width, scene.height) : Qt.size(0, 0)
        mDx = 0
        mDy = 0
        sig_press()
    }
    onPositionChanged: mouse => {
        if (pressed)
            moveTo(mapToItem(sceneParent(), mouse.x, mouse.y), mouse.modifiers === Qt.ShiftModifier)
    }
}
