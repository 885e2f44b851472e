import QtQuick
import Rc.IRCAction 1.0
import "RCVexaKind.js" as VexaKind

// The Vexa program lists of one kind ("ProgramListType": 0 video, 1 audio, 2 text): a tab per
// list, named by the list, and on each tab's page a tile per program. The view reads the lists of
// its own kind only (lists of two kinds may bear the same id) and follows the lists of that kind
// being added, removed and renamed; a change of "ProgramListType" shows the other kind's lists.
//
// In control mode a tap on a stopped or paused program asks the server to play it, on a playing
// one to pause it.
RCSceneItemProgramTiles {
    id: root

    property real mFrameSize: 5
    property color mFrameColor: "gray"
    property color mBackgroundColor: "transparent"
    property real mFrameMargin: 5
    property string mName: ""
    property color mTextColor: "white"
    property real mTextSize: 12
    property bool mTextBold: true
    property int mKind: 0
    property real mTabTextSize: 24
    property color mTabTextCheckedColor: "black"
    property color mTabTextColor: "white"
    property color mTabCheckedColor: "white"
    property color mTabColor: "black"
    property real mTabWidth: 100
    property real mTabHeight: 30
    readonly property alias mTabPanel: tabPanel

    function refresh() {
        tabPanel.clearTabs()
        var count = VexaKind.listCount(mStelvaneSyncer, mKind)
        for (var i = 0; i < count; ++i) {
            var listId = VexaKind.listId(mStelvaneSyncer, mKind, i)
            tabPanel.insertTab(listId, VexaKind.listName(mStelvaneSyncer, mKind, listId))
        }
    }
    function listAdded(kind, listId, index) {
        if (kind === mKind)
            tabPanel.insertTab(listId, VexaKind.listName(mStelvaneSyncer, mKind, listId), index)
    }
    function listRemoved(kind, listId) {
        if (kind === mKind)
            tabPanel.removeTab(listId)
    }

    mKeyTable: mTileKeyTable.concat([
        ["FrameSize", "mFrameSize", 5, "number"],
        ["FrameColor", "mFrameColor", "gray", "color"],
        ["ProgramManager_BackgroundColor", "mBackgroundColor", "transparent", "color"],
        ["FrameMargin", "mFrameMargin", 5, "number"],
        ["Name", "mName", "", "text"],
        ["TextColor", "mTextColor", "white", "color"],
        ["TextSize", "mTextSize", 12, "number"],
        ["TextBold", "mTextBold", true, "bool"],
        ["ProgramListType", "mKind", 0, "number"],
        ["ProgramManager_Tab_TextSize", "mTabTextSize", 24, "number"],
        ["ProgramManager_Tab_TextCheckedColor", "mTabTextCheckedColor", "black", "color"],
        ["ProgramManager_Tab_TextColor", "mTabTextColor", "white", "color"],
        ["ProgramManager_Tab_CheckedColor", "mTabCheckedColor", "white", "color"],
        ["ProgramManager_Tab_Color", "mTabColor", "black", "color"],
        ["ProgramManager_Tab_Width", "mTabWidth", 100, "number"],
        ["ProgramManager_Tab_Height", "mTabHeight", 30, "number"]
    ])

    onMKindChanged: refresh()
    onMStelvaneSyncerChanged: refresh()

    Connections {
        target: root.mStelvaneSyncer
        function onVexaVideoProgramListAdd(programListId, index) {
            root.listAdded(0, programListId, index)
        }
        function onVexaAudioProgramListAdd(programListId, index) {
            root.listAdded(1, programListId, index)
        }
        function onVexaTextProgramListAdd(programListId, index) {
            root.listAdded(2, programListId, index)
        }
        function onVexaVideoProgramListRemove(programListId) {
            root.listRemoved(0, programListId)
        }
        function onVexaAudioProgramListRemove(programListId) {
            root.listRemoved(1, programListId)
        }
        function onVexaTextProgramListRemove(programListId) {
            root.listRemoved(2, programListId)
        }
        // The change names no kind: the tab reads its own list's name again.
        function onVexaProgramListPropertyChanged(programListId, sProName, value) {
            if (sProName === "Name")
                tabPanel.renameTab(programListId, VexaKind.listName(root.mStelvaneSyncer, root.mKind, programListId))
        }
    }

    mContentItem: RCSceneItemFrame {
        mView: root
        mCaptionAbove: true
        mBackgroundColor: root.mBackgroundColor
        mFrameSize: root.mFrameSize
        mFrameColor: root.mFrameColor
        mFrameMargin: root.mFrameMargin
        mName: root.mName
        mTextColor: root.mTextColor
        mTextSize: root.mTextSize
        mTextBold: root.mTextBold

        RCVexaProgramTabPanel {
            id: tabPanel
            objectName: "vexaTabPanel"
            anchors.fill: parent
            mView: root
            mKind: root.mKind
            onProgramTryPlay: (programListId, programId) => root.triggerAction(
                                  IRCAction.EActionType_VexaProgramTryPlay,
                                  {"programListId": programListId, "programId": programId})
            onProgramTryPause: (programListId, programId) => root.triggerAction(
                                   IRCAction.EActionType_VexaProgramTryPause,
                                   {"programListId": programListId, "programId": programId})
        }
    }
}
