import QtQuick
import Rc.IRCAction 1.0
import "../common"

// One tile per program of the media server's table. When the server's nodes carry titles, the
// programs are grouped by title: a tab per title, the chosen tab showing the programs of its
// title's nodes; without titles every program shows, in the mirror's order. Whether there are
// tabs is the mirror's answer, whatever the item's "ProgramManager_Tab_Visible" says. A refresh
// keeps the chosen tab when its title is still there.
//
// Without tabs the tiles follow the programs one by one; with tabs new programs wait for the next
// refresh. Names and states always follow. In control mode a tap on a tile plays or pauses its
// program.
RCSceneItemProgramTiles {
    id: root

    property real mFrameSize: 2
    property color mFrameColor: "#0343C4"
    property color mBackgroundColor: "#1A1A1C"
    property real mFrameMargin: 2
    property string mName: ""
    property color mTextColor: "white"
    property real mTextSize: 12
    property bool mTextBold: true
    property color mTitleBackgroundColor: "transparent"
    property real mTitleHeight: 0
    property bool mTabVisible: false
    property color mTabTextCheckedColor: "white"
    property color mTabTextColor: "white"
    property color mTabCheckedColor: "#3F3E40"
    property color mTabColor: "#262627"
    property real mTabTextSize: 12
    property real mTabWidth: 37
    property real mTabHeight: 20
    property real mTabRadius: 4
    property real mTabSpacing: 7
    readonly property alias mTiles: tileModel
    readonly property alias mTabBar: tabBar

    // Shows the mirror's programs again, by title when the nodes carry titles.
    function refresh() {
        var mirror = mStelvaneSyncer
        if (!mirror)
            return
        mTabVisible = mirror.hasProgramNodeTitleList()
        if (!mTabVisible) {
            tabBar.clearTabButton()
            tileModel.clear()
            var count = mirror.getProgramCount()
            for (var i = 0; i < count; ++i)
                putProgram(mirror.getProgram(i))
            return
        }
        var chosen = tabBar.getTabName(tabBar.mCurrentIndex)
        tabBar.clearTabButton()
        var titles = mirror.getProgramNodeTitleList()
        for (var t = 0; t < titles.length; ++t)
            tabBar.addTabButton(titles[t])
        var position = tabBar.findTabIndexByTitle(chosen)
        if (position > 0)
            tabBar.setCurrentIndex(tabBar.getModel().get(position).index)
    }
    // One refresh once the current event is handled, however many changes asked for it. The
    // timer is the view's own: a view that goes meanwhile refreshes nothing.
    function scheduleRefresh() {
        refreshTimer.start()
    }
    function showTitle(title) {
        tileModel.clear()
        if (!mStelvaneSyncer || title === "")
            return
        var ids = mStelvaneSyncer.getProgramIdListByNodeTitle(title)
        for (var i = 0; i < ids.length; ++i)
            putProgram(ids[i])
    }
    function putProgram(programId, index) {
        tileModel.putTile(programId, mStelvaneSyncer.getProgramName(programId),
                          mStelvaneSyncer.getProgramState(programId), "", index)
    }
    function textOf(value) {
        return value === undefined || value === null ? "" : String(value)
    }

    mKeyTable: mTileKeyTable.concat([
        ["FrameSize", "mFrameSize", 2, "number"],
        ["FrameColor", "mFrameColor", "#0343C4", "color"],
        ["ProgramManager_BackgroundColor", "mBackgroundColor", "#1A1A1C", "color"],
        ["FrameMargin", "mFrameMargin", 2, "number"],
        ["Name", "mName", "", "text"],
        ["TextColor", "mTextColor", "white", "color"],
        ["TextSize", "mTextSize", 12, "number"],
        ["TextBold", "mTextBold", true, "bool"],
        ["TitleBackgroundColor", "mTitleBackgroundColor", "transparent", "color"],
        ["TitleHeight", "mTitleHeight", 0, "number"],
        ["ProgramManager_Tab_Visible", "mTabVisible", false, "bool"],
        ["ProgramManager_Tab_TextCheckedColor", "mTabTextCheckedColor", "white", "color"],
        ["ProgramManager_Tab_TextColor", "mTabTextColor", "white", "color"],
        ["ProgramManager_Tab_CheckedColor", "mTabCheckedColor", "#3F3E40", "color"],
        ["ProgramManager_Tab_Color", "mTabColor", "#262627", "color"],
        ["ProgramManager_Tab_TextSize", "mTabTextSize", 12, "number"],
        ["ProgramManager_Tab_Width", "mTabWidth", 37, "number"],
        ["ProgramManager_Tab_Height", "mTabHeight", 20, "number"],
        ["ProgramManager_Tab_Radius", "mTabRadius", 4, "number"],
        ["ProgramManager_Tab_Spacing", "mTabSpacing", 7, "number"]
    ])

    onMStelvaneSyncerChanged: refresh()
    onSig_sceneItemChanged: refresh()
    onSig_sceneItemPropertyChanged: (sProName, value) => {
        if (sProName === "ProgramManager_Tab_Visible")
            refresh()
    }

    Connections {
        target: root.mStelvaneSyncer
        function onProgramTableUpdate() {
            root.scheduleRefresh()
        }
        function onProgramAdd(sId, params) {
            if (!root.mTabVisible)
                root.putProgram(sId)
        }
        function onProgramInsert(sId, params, index) {
            if (!root.mTabVisible)
                root.putProgram(sId, index)
        }
        function onProgramRemove(sId, index) {
            tileModel.removeTile(sId)
        }
        function onProgramPropertyChanged(sId, sProName, value) {
            if (sProName === "Name")
                tileModel.setTileField(sId, "programName", root.textOf(value))
            else if (sProName === "State")
                tileModel.setTileField(sId, "programState", Number(value) || 0)
        }
        function onProgramNodeAdd(sId, params) {
            if (root.textOf(root.mStelvaneSyncer.getProgramNodePropertyValue(sId, "ProgramNodeTitle")) !== "")
                root.scheduleRefresh()
        }
        function onProgramNodePropertyChanged(sId, sProName, value) {
            if (sProName === "ProgramNodeTitle")
                root.scheduleRefresh()
        }
        // The node is gone from the mirror by now: its title may have gone with it.
        function onProgramNodeRemove(sId, row, programIdList) {
            if (root.textOf(root.mStelvaneSyncer.getProgramNodePropertyValue(sId, "ProgramNodeTitle")) === "")
                root.scheduleRefresh()
        }
    }
    RCProgramTileModel {
        id: tileModel
    }
    Timer {
        id: refreshTimer
        interval: 0
        onTriggered: root.refresh()
    }

    mContentItem: RCSceneItemFrame {
        mView: root
        mFrameSize: root.mFrameSize
        mFrameColor: root.mFrameColor
        mFrameRadius: 2 * RCUnits.dp
        mFrameMargin: root.mFrameMargin
        mTitleHeight: root.mTitleHeight
        mTitleColor: root.mTitleBackgroundColor
        mContentColor: Qt.colorEqual(root.mBackgroundColor, "transparent") ? "#262627" : root.mBackgroundColor
        mName: root.mName
        mTextColor: root.mTextColor
        mTextSize: root.mTextSize
        mTextBold: root.mTextBold

        RCTabBar {
            id: tabBar
            objectName: "programTabBar"
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.top: parent.top
            anchors.margins: 13 * RCUnits.dp
            height: root.mTabHeight * RCUnits.dp
            visible: root.mTabVisible
            mText_color: root.mTabTextColor
            mText_color_checked: root.mTabTextCheckedColor
            mBackground_color: root.mTabColor
            mBackground_color_checked: root.mTabCheckedColor
            mTextSize: root.mTabTextSize
            mCellWidth: root.mTabWidth * RCUnits.dp
            mCellHeight: root.mTabHeight * RCUnits.dp
            mRadius: root.mTabRadius * RCUnits.dp
            mSpacing: root.mTabSpacing * RCUnits.dp
            onSelectedIndexChanged: index => root.showTitle(getTabName(index))
        }
        Rectangle {
            objectName: "programGridArea"
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.top: root.mTabVisible ? tabBar.bottom : parent.top
            anchors.bottom: parent.bottom
            anchors.leftMargin: root.mTabVisible ? 13 * RCUnits.dp : 0
            anchors.rightMargin: root.mTabVisible ? 13 * RCUnits.dp : 0
            anchors.bottomMargin: 13 * RCUnits.dp
            color: root.mTabVisible ? "#3F3E40" : "transparent"

            RCProgramTileGrid {
                objectName: "programGrid"
                anchors.fill: parent
                anchors.topMargin: root.mTabVisible ? 11 * RCUnits.dp : 17 * RCUnits.dp
                anchors.leftMargin: root.mTabVisible ? 6 * RCUnits.dp : 24 * RCUnits.dp
                mView: root
                model: tileModel
                onTileClicked: (sId, state) => root.triggerAction(IRCAction.EActionType_ClickProgram, sId)
            }
        }
    }
}
