import QtQuick

// A mouse area (left and right button) that reports where mOperatorItem would go when dragged:
// its position at the press plus the pointer's travel since the press, per axis once the pointer
// has travelled 3 pixels or more on that axis. It only reports; the caller moves the item.
// Positions are in the coordinates of the item's parent.
MouseArea {
    id: root

    property bool mEnableMove: true
    property Item mOperatorItem: null
    property point mPressPos: Qt.point(0, 0)
    property point mItemPos: Qt.point(0, 0)

    acceptedButtons: Qt.LeftButton | Qt.RightButton

    signal moveX(real nX)
    signal moveY(real nY)
    signal movePos(point pos)
    signal pressedBegin(var mouse)

    function pointerPos(mouse) {
        var target = mOperatorItem ? mOperatorItem.parent : null
        return mapToItem(target, mouse.x, mouse.y)
    }

    onPressed: mouse => {
        pressedBegin(mouse)
        mPressPos = pointerPos(mouse)
        mItemPos = mOperatorItem ? Qt.point(mOperatorItem.x, mOperatorItem.y) : Qt.point(0, 0)
    }
    onPositionChanged: mouse => {
        if (!pressed || !mEnableMove)
            return
        var p = pointerPos(mouse)
        var dx = p.x - mPressPos.x
        var dy = p.y - mPressPos.y
        var movedX = Math.abs(dx) >= 3 * RCUnits.dp
        var movedY = Math.abs(dy) >= 3 * RCUnits.dp
        if (!movedX && !movedY)
            return
        var nX = mItemPos.x + (movedX ? dx : 0)
        var nY = mItemPos.y + (movedY ? dy : 0)
        if (movedX)
            moveX(nX)
        if (movedY)
            moveY(nY)
        movePos(Qt.point(nX, nY))
    }
}
