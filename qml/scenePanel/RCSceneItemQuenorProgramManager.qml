import QtQuick
import Rc.IRCAction 1.0
import "../common"
import "RCPlayTime.js" as PlayTime

// The programs of one timeline of the media server (the track whose name is the item's
// "TrackName"), one tile each with its count-down time ("hh:mm:ss", never below zero). The view
// finds its track by name when it gets its item, when "TrackName" changes, whenever a track of
// that name is added and when a track takes or leaves that name; when its track goes the tiles
// go, and when it comes back they are filled again. A program already shown is never shown twice (a server that announces its programs again
// after a reconnection updates the tiles instead).
//
// In control mode a tap on a tile asks the server to play or pause that program of the track.
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
    property string mTrackName: ""
    // The id of the track shown, "" while no track bears the name.
    property string mTrackId: ""
    readonly property alias mTiles: tileModel

    function findTrack() {
        mTrackId = mStelvaneSyncer && mTrackName !== "" ? mStelvaneSyncer.getTrackIdByName(mTrackName) : ""
    }
    function fill() {
        tileModel.clear()
        if (!mStelvaneSyncer || mTrackId === "")
            return
        var count = mStelvaneSyncer.getTrackProgramCount(mTrackId)
        for (var i = 0; i < count; ++i)
            putProgram(mStelvaneSyncer.getTrackProgram(mTrackId, i))
    }
    function putProgram(programId, index) {
        var mirror = mStelvaneSyncer
        tileModel.putTile(programId, textOf(mirror.getTrackProgramProperty(mTrackId, programId, "Name")),
                          Number(mirror.getTrackProgramProperty(mTrackId, programId, "State")) || 0,
                          timeText(mirror.getTrackProgramProperty(mTrackId, programId, "CountdownTime")), index)
    }
    function timeText(ms) {
        return root.mInterface.msecToString(PlayTime.wholeMs(ms))
    }
    function textOf(value) {
        return value === undefined || value === null ? "" : String(value)
    }
    function isOwnTrack(trackId) {
        return mTrackName !== "" && textOf(mStelvaneSyncer.getTrackProperty(trackId, "Name")) === mTrackName
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
        ["TrackName", "mTrackName", "", "text"]
    ])

    onMTrackIdChanged: fill()
    onMStelvaneSyncerChanged: findTrack()
    onSig_sceneItemChanged: findTrack()
    onSig_sceneItemPropertyChanged: (sProName, value) => {
        if (sProName === "TrackName")
            findTrack()
    }

    Connections {
        target: root.mStelvaneSyncer
        function onTrackAdd(sId) {
            if (root.isOwnTrack(sId))
                root.mTrackId = sId
        }
        function onTrackInsert(sId, index) {
            if (root.isOwnTrack(sId))
                root.mTrackId = sId
        }
        function onTrackRemove(sId) {
            if (sId === root.mTrackId)
                root.mTrackId = ""
        }
        function onTrackPropertyChanged(sId, sProName, value) {
            if (sProName === "Name" && (sId === root.mTrackId || root.textOf(value) === root.mTrackName))
                root.findTrack()
        }
        function onTrackProgramAdded(sTrackId, programId, index) {
            if (sTrackId === root.mTrackId)
                root.putProgram(programId, index)
        }
        function onTrackProgramRemoved(sTrackId, programId) {
            if (sTrackId === root.mTrackId)
                tileModel.removeTile(programId)
        }
        function onTrackProgramPropertyChanged(sTrackId, programId, sProName, value) {
            if (sTrackId !== root.mTrackId)
                return
            if (sProName === "Name")
                tileModel.setTileField(programId, "programName", root.textOf(value))
            else if (sProName === "State")
                tileModel.setTileField(programId, "programState", Number(value) || 0)
            else if (sProName === "CountdownTime")
                tileModel.setTileField(programId, "timeText", root.timeText(value))
        }
    }
    RCProgramTileModel {
        id: tileModel
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

        RCProgramTileGrid {
            objectName: "quenorGrid"
            anchors.fill: parent
            mView: root
            model: tileModel
            onTileClicked: (sId, state) => root.triggerAction(IRCAction.EActionType_ClickQuenorProgram,
                                                              {"TrackId": root.mTrackId, "ProgramId": sId})
        }
    }
}
