pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls.Basic
import "../common"
import Rc.IRCControlManager 1.0

// The control catalogue in three tabs, one per control group ("Stelvane" shows the group
// "Mirel", "quenor" "Quenor", "Vexa" "Vexa"), each a scrolling grid of control tiles from which
// the designer drags a control onto the scene. A control of several groups has a tile in each of
// their tabs; the tiles follow the catalogue's controlAdd and controlRemove. A tab's tiles are
// made when the tab is first shown, in the catalogue's order.
Rectangle {
    id: root

    property IRCControlManager mControlManager: null
    readonly property var mGroups: ["Mirel", "Quenor", "Vexa"]
    readonly property var mTabNames: [qsTr("Stelvane"), qsTr("quenor"), qsTr("Vexa")]
    readonly property var mTiles: [mirelTiles, quenorTiles, vexaTiles]
    readonly property var mPages: [mirelPage, quenorPage, vexaPage]
    // Per tab, whether its tiles were made.
    property var mMade: [false, false, false]

    color: "black"

    // Columns of a page W wide: one per 80 of W less 35, one more for a remainder of 50 or more.
    function columnCount(pageWidth) {
        var usable = Math.max(0, pageWidth - 35 * RCUnits.dp)
        var columns = Math.floor(usable / (80 * RCUnits.dp)) + (usable % (80 * RCUnits.dp) >= 50 * RCUnits.dp ? 1 : 0)
        return Math.max(1, columns)
    }
    function addTile(g, control) {
        if (!control.belongToGroup(mGroups[g]) || mTiles[g].hasKey(control.getId()))
            return
        var tile = tileComponent.createObject(mPages[g].mGrid, {"mControl": control})
        mTiles[g].insertValue(control.getId(), tile)
    }
    function addControl(control) {
        if (!control)
            return
        for (var g = 0; g < mGroups.length; ++g) {
            if (mMade[g])
                addTile(g, control)
        }
    }
    // Makes the tiles of tab g unless they were made.
    function makeTiles(g) {
        if (g < 0 || g >= mGroups.length || mMade[g] || !mControlManager)
            return
        mMade[g] = true
        var count = mControlManager.getControlCout()
        for (var i = 0; i < count; ++i)
            addTile(g, mControlManager.getControl(i))
    }
    function removeControl(control) {
        if (!control)
            return
        for (var g = 0; g < mGroups.length; ++g)
            mTiles[g].removeValue(control.getId())
    }
    function fill() {
        for (var g = 0; g < mGroups.length; ++g) {
            mTiles[g].clearValue()
            mMade[g] = false
        }
        makeTiles(tabBar.mCurrentIndex)
    }
    function tileCount(group) {
        return mTiles[mGroups.indexOf(group)].getCount()
    }

    onMControlManagerChanged: fill()
    Component.onCompleted: {
        for (var i = 0; i < mTabNames.length; ++i)
            tabBar.addTabButton(mTabNames[i])
    }

    Connections {
        target: tabBar
        function onMCurrentIndexChanged() {
            root.makeTiles(tabBar.mCurrentIndex)
        }
    }
    Connections {
        target: root.mControlManager

        function onControlAdd(control) {
            root.addControl(control)
        }
        function onControlRemove(control) {
            root.removeControl(control)
        }
    }

    component ControlPage: Flickable {
        property alias mGrid: grid

        contentWidth: width
        contentHeight: grid.height + 30 * RCUnits.dp
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        ScrollBar.vertical: ScrollBar {
            policy: ScrollBar.AsNeeded
        }

        Grid {
            id: grid
            x: 15 * RCUnits.dp
            columns: root.columnCount(parent.width)
            spacing: 35 * RCUnits.dp
        }
    }

    Component {
        id: tileComponent

        RCControl {}
    }
    RCMap {
        id: mirelTiles
    }
    RCMap {
        id: quenorTiles
    }
    RCMap {
        id: vexaTiles
    }
    RCText {
        id: title
        objectName: "controlPanelTitle"
        x: 15 * RCUnits.dp
        y: 6 * RCUnits.dp
        text: qsTr("控件")
        color: "white"
        font.pixelSize: 24 * RCUnits.dp
    }
    RCTabBar {
        id: tabBar
        objectName: "controlTabBar"
        anchors.top: title.bottom
        anchors.topMargin: 6 * RCUnits.dp
        anchors.left: parent.left
        anchors.right: parent.right
        mCellWidth: 64 * RCUnits.dp
        mCellHeight: 22 * RCUnits.dp
        mBackground_color: "#262627"
        mBackground_color_checked: "#3A74EA"
        mText_color_checked: "white"
    }
    Item {
        anchors.top: tabBar.bottom
        anchors.topMargin: 10 * RCUnits.dp
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom

        ControlPage {
            id: mirelPage
            objectName: "controlPage_Mirel"
            anchors.fill: parent
            visible: tabBar.mCurrentIndex === 0
        }
        ControlPage {
            id: quenorPage
            objectName: "controlPage_Quenor"
            anchors.fill: parent
            visible: tabBar.mCurrentIndex === 1
        }
        ControlPage {
            id: vexaPage
            objectName: "controlPage_Vexa"
            anchors.fill: parent
            visible: tabBar.mCurrentIndex === 2
        }
    }
}
