pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Templates as T

// A split view whose handle is 4 pixels thick, dark while dragged and lighter while hovered.
SplitView {
    id: root

    handle: Rectangle {
        implicitWidth: 4 * RCUnits.dp
        implicitHeight: 4 * RCUnits.dp
        color: T.SplitHandle.pressed ? root.palette.dark
                                   : (T.SplitHandle.hovered ? root.palette.midlight : root.palette.mid)
    }
}
