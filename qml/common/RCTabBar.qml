pragma ComponentBehavior: Bound

import QtQuick

// A horizontal bar of tabs built from names. Each tab keeps the index it was given when added;
// the tab whose index is mCurrentIndex shows the checked colours, and a click on a tab makes it
// current. The model's rows are {"index", "name"}.
Item {
    id: root

    property color mText_color: "white"
    property color mText_color_checked: "black"
    property color mBackground_color: "black"
    property color mBackground_color_checked: "white"
    property real mTextSize: 12
    property int mCurrentIndex: 0
    property real mCellWidth: 60 * RCUnits.dp
    property real mCellHeight: 20 * RCUnits.dp
    property real mSpacing: 7 * RCUnits.dp
    property real mRadius: 4 * RCUnits.dp
    // The position in the bar of the current tab, -1 when no tab is current.
    property int mCurrentItemIndex: -1

    implicitHeight: mCellHeight

    signal selectedIndexChanged(int index)

    function getModel() {
        return tabModel
    }
    function getTabCount() {
        return tabModel.count
    }
    // Adds a tab; an empty name or one already present adds nothing. The first tab added while
    // no tab is current becomes current.
    function addTabButton(name) {
        if (name === "" || findTabIndexByTitle(name) >= 0)
            return
        var next = 0
        for (var i = 0; i < tabModel.count; ++i)
            next = Math.max(next, tabModel.get(i).index + 1)
        var noneCurrent = positionOf(mCurrentIndex) < 0
        tabModel.append({"index": next, "name": name})
        if (noneCurrent)
            setCurrentIndex(next)
        else
            mCurrentItemIndex = positionOf(mCurrentIndex)
    }
    // Removes the tab whose stored index is index.
    function removeTabButton(index) {
        var position = positionOf(index)
        if (position < 0)
            return
        tabModel.remove(position)
        mCurrentItemIndex = positionOf(mCurrentIndex)
    }
    function getTabName(index) {
        var position = positionOf(index)
        return position < 0 ? "" : tabModel.get(position).name
    }
    // The position of the tab named title, or -1.
    function findTabIndexByTitle(title) {
        for (var i = 0; i < tabModel.count; ++i) {
            if (tabModel.get(i).name === title)
                return i
        }
        return -1
    }
    function clearTabButton() {
        tabModel.clear()
        setCurrentIndex(-1)
    }
    function setCurrentIndex(index) {
        mCurrentIndex = index
        mCurrentItemIndex = positionOf(index)
        selectedIndexChanged(index)
    }
    function positionOf(index) {
        for (var i = 0; i < tabModel.count; ++i) {
            if (tabModel.get(i).index === index)
                return i
        }
        return -1
    }

    ListModel {
        id: tabModel
    }
    ListView {
        anchors.fill: parent
        orientation: ListView.Horizontal
        spacing: root.mSpacing
        interactive: contentWidth > width
        clip: true
        model: tabModel
        delegate: Rectangle {
            id: tab

            required property int index
            required property string name
            readonly property int tabIndex: tabModel.get(index).index
            readonly property bool checked: tabIndex === root.mCurrentIndex

            objectName: "tab_" + name
            width: root.mCellWidth
            height: root.mCellHeight
            radius: root.mRadius
            color: checked ? root.mBackground_color_checked : root.mBackground_color

            // square lower corners: only the top ones are rounded
            Rectangle {
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.bottom: parent.bottom
                height: Math.min(root.mRadius, parent.height)
                color: parent.color
            }
            RCText {
                anchors.centerIn: parent
                width: parent.width
                text: tab.name
                color: tab.checked ? root.mText_color_checked : root.mText_color
                font.pixelSize: root.mTextSize * RCUnits.dp
                horizontalAlignment: Text.AlignHCenter
                elide: Text.ElideRight
            }
            MouseArea {
                anchors.fill: parent
                onClicked: root.setCurrentIndex(tab.tabIndex)
            }
        }
    }
}
