import QtQuick
import QtQuick.Controls.Basic

// The look of a menu entry: the text centred on a dark bar ("#0000CD" while hovered) above a
// 6-pixel black strip that separates the entries; the last entry of its menu has no strip below
// it, its bar takes the whole entry. The entry itself handles presses and clicks.
MenuItem {
    id: root

    property int mTextSize: 18
    readonly property bool mLast: menu !== null && menu.count > 0 && menu.itemAt(menu.count - 1) === root

    implicitWidth: 100 * RCUnits.dp
    implicitHeight: 30 * RCUnits.dp
    padding: 0
    contentItem: Item {}
    indicator: Item {}
    arrow: Item {}
    background: Rectangle {
        color: "black"

        Rectangle {
            id: bar
            objectName: "menuItemBar"
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.top: parent.top
            height: parent.height - (root.mLast ? 0 : 6 * RCUnits.dp)
            color: root.hovered ? "#0000CD" : "#333333"
        }
        RCText {
            anchors.centerIn: bar
            text: root.text
            color: "white"
            font.pixelSize: root.mTextSize * RCUnits.dp
        }
    }
}
