pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls.Basic
import Rc.IRCAction 1.0
import "../common"

// One progress row (RCPlayStateItem) per running node of a window layer (layer type 0): a node
// gets a row while its state is not 0 and its layer is a known window layer, in the order in
// which they start. The rows follow the nodes' state, progress, length, name and layer; a node
// that stops, or moves to a layer that is not a window layer, loses its row. Changes of the
// layers themselves (type, name, removal) leave the rows as they are; the next attach of the
// mirror reads them again.
//
// In control mode a tap on a bar seeks the node there and a tap on its icon plays or pauses it.
RCSceneItem {
    id: root

    property real mTitleHeight: 0
    property color mTitleBackgroundColor: "transparent"
    property color mBackgroundColor: "transparent"
    property real mFrameSize: 5
    property color mFrameColor: "gray"
    property real mFrameMargin: 5
    property real mSpacing: 5
    property string mName: ""
    property real mTextSize: 12
    property bool mTextBold: true
    property color mTextColor: "white"
    // The progress rows' keys ("PlayStateManager_ProgressBar_" ...).
    property color mWindowTextColor: "white"
    property real mWindowTextSize: 12
    property color mNodeTextColor: "white"
    property real mNodeTextSize: 12
    property color mTimeTextColor: "green"
    property color mTimeDownTextColor: "white"
    property real mTimeTextSize: 12
    property color mBarColor: "transparent"
    property real mBarFrameSize: 1
    property color mBarFrameColor: "yellow"
    property real mBarRadius: 5
    property color mHandleColor: "transparent"
    property color mHandleColorEnd: "transparent"
    property real mHandleOpacity: 0.5
    property string mPlayIconPath: "qrc:/control/progressPlay.png"
    property string mPauseIconPath: "qrc:/control/progressPause.png"
    property string mSliderIconPath: "qrc:/control/progressSlider.png"
    property real mRowHeight: 0
    property int mShowTimeType: 0
    readonly property alias mRows: rowModel

    function rowOf(nodeId) {
        for (var i = 0; i < rowModel.count; ++i) {
            if (rowModel.get(i).nodeId === nodeId)
                return i
        }
        return -1
    }
    function numberOf(value, fallback) {
        var number = Number(value)
        return value !== undefined && value !== null && isFinite(number) ? number : fallback
    }
    function textOf(value) {
        return value === undefined || value === null ? "" : String(value)
    }
    // Whether the node belongs to a window layer that the mirror knows.
    function onWindowLayer(nodeId) {
        var layerId = textOf(mStelvaneSyncer.getProgramNodePropertyValue(nodeId, "ProgramLayerId"))
        return layerId !== "" && mStelvaneSyncer.getProgramLayerIndex(layerId) >= 0
                && mStelvaneSyncer.getProgramLayerType(layerId) === 0
    }
    function rebuild() {
        rowModel.clear()
        if (!mStelvaneSyncer)
            return
        var count = mStelvaneSyncer.getProgramNodeCount()
        for (var i = 0; i < count; ++i)
            follow(mStelvaneSyncer.getProgramNode(i))
    }
    // Gives the node the row its state calls for: none while stopped; a listed node only takes
    // its state, unless it moved (layerMoved), when it keeps its row only on a window layer; an
    // unlisted running node gets a row when it is on a window layer.
    function follow(nodeId, layerMoved) {
        var mirror = mStelvaneSyncer
        var state = numberOf(mirror.getProgramNodePropertyValue(nodeId, "State"), 0)
        var row = rowOf(nodeId)
        var keep = state !== 0 && (row >= 0 && !layerMoved || onWindowLayer(nodeId))
        if (!keep) {
            if (row >= 0)
                rowModel.remove(row)
            return
        }
        if (row >= 0) {
            rowModel.setProperty(row, "nodeState", state)
            return
        }
        rowModel.append({
                            "nodeId": nodeId,
                            "layerName": mirror.getProgramLayerName(mirror.getProgramNodeProgramLayerId(nodeId)),
                            "nodeName": textOf(mirror.getProgramNodePropertyValue(nodeId, "Name")),
                            "nodeState": state,
                            "nodeLength": numberOf(mirror.getProgramNodePropertyValue(nodeId, "Length"), 0),
                            "nodeProgress": numberOf(mirror.getProgramNodePropertyValue(nodeId, "Progress"), 0)
                        })
    }
    function setNode(nodeId, data) {
        var project = mProject
        if (project)
            project.getActionManager().execAction("", "", IRCAction.EActionType_SetProgramNode, data)
    }

    mKeyTable: [
        ["TitleHeight", "mTitleHeight", 0, "number"],
        ["TitleBackgroundColor", "mTitleBackgroundColor", "transparent", "color"],
        ["BackgroundColor", "mBackgroundColor", "transparent", "color"],
        ["FrameSize", "mFrameSize", 5, "number"],
        ["FrameColor", "mFrameColor", "gray", "color"],
        ["FrameMargin", "mFrameMargin", 5, "number"],
        ["Spaceing", "mSpacing", 5, "number"],
        ["Name", "mName", "", "text"],
        ["TextSize", "mTextSize", 12, "number"],
        ["TextBold", "mTextBold", true, "bool"],
        ["TextColor", "mTextColor", "white", "color"],
        ["PlayStateManager_ProgressBar_WindowTextColor", "mWindowTextColor", "white", "color"],
        ["PlayStateManager_ProgressBar_WindowTextSize", "mWindowTextSize", 12, "number"],
        ["PlayStateManager_ProgressBar_NodeTextColor", "mNodeTextColor", "white", "color"],
        ["PlayStateManager_ProgressBar_NodeTextSize", "mNodeTextSize", 12, "number"],
        ["PlayStateManager_ProgressBar_TimeTextColor", "mTimeTextColor", "green", "color"],
        ["PlayStateManager_ProgressBar_TimeDownTextColor", "mTimeDownTextColor", "white", "color"],
        ["PlayStateManager_ProgressBar_TimeTextSize", "mTimeTextSize", 12, "number"],
        ["PlayStateManager_ProgressBar_BackgroundColor", "mBarColor", "transparent", "color"],
        ["PlayStateManager_ProgressBar_FrameSize", "mBarFrameSize", 1, "number"],
        ["PlayStateManager_ProgressBar_FrameColor", "mBarFrameColor", "yellow", "color"],
        ["PlayStateManager_ProgressBar_Radius", "mBarRadius", 5, "number"],
        ["PlayStateManager_ProgressBar_HandleColor", "mHandleColor", "transparent", "color"],
        ["PlayStateManager_ProgressBar_HandleColorEnd", "mHandleColorEnd", "transparent", "color"],
        ["PlayStateManager_ProgressBar_HandleOpacity", "mHandleOpacity", 0.5, "number"],
        ["PlayStateManager_ProgressBar_PlayIconPath", "mPlayIconPath", "qrc:/control/progressPlay.png", "text"],
        ["PlayStateManager_ProgressBar_PauseIconPath", "mPauseIconPath", "qrc:/control/progressPause.png", "text"],
        ["PlayStateManager_ProgressBar_SliderIconPath", "mSliderIconPath", "qrc:/control/progressSlider.png", "text"],
        ["PlayStateManager_ProgressBar_Height", "mRowHeight", 0, "number"],
        ["PlayStateManager_ProgressBar_ShowTimeType", "mShowTimeType", 0, "number"]
    ]

    onMStelvaneSyncerChanged: rebuild()

    Connections {
        target: root.mStelvaneSyncer
        function onProgramNodeAdd(sId, params) {
            root.follow(sId)
        }
        function onProgramNodeRemove(sId, row, programIdList) {
            var at = root.rowOf(sId)
            if (at >= 0)
                rowModel.remove(at)
        }
        function onProgramNodePropertyChanged(sId, sProName, value) {
            var row = root.rowOf(sId)
            switch (sProName) {
            case "State":
            case "ProgramLayerId":
                root.follow(sId, sProName === "ProgramLayerId")
                row = root.rowOf(sId)
                if (row >= 0 && sProName === "ProgramLayerId")
                    rowModel.setProperty(row, "layerName", root.mStelvaneSyncer.getProgramLayerName(root.textOf(value)))
                break
            case "Progress":
                if (row >= 0)
                    rowModel.setProperty(row, "nodeProgress", root.numberOf(value, 0))
                break
            case "Length":
                if (row >= 0)
                    rowModel.setProperty(row, "nodeLength", root.numberOf(value, 0))
                break
            case "Name":
                if (row >= 0)
                    rowModel.setProperty(row, "nodeName", root.textOf(value))
                break
            }
        }
    }
    ListModel {
        id: rowModel
    }

    mContentItem: RCSceneItemFrame {
        mView: root
        mFrameSize: root.mFrameSize
        mFrameColor: root.mFrameColor
        mFrameRadius: 2 * RCUnits.dp
        mFrameMargin: root.mFrameMargin
        mTitleHeight: root.mTitleHeight
        mTitleColor: root.mTitleBackgroundColor
        mContentColor: root.mBackgroundColor
        mName: root.mName
        mTextColor: root.mTextColor
        mTextSize: root.mTextSize
        mTextBold: root.mTextBold

        ListView {
            objectName: "playStateRows"
            anchors.fill: parent
            anchors.leftMargin: 12 * RCUnits.dp
            anchors.rightMargin: 12 * RCUnits.dp
            anchors.topMargin: Math.max(0, root.mSpacing) * RCUnits.dp
            spacing: Math.max(0, root.mSpacing) * RCUnits.dp
            clip: true
            boundsBehavior: Flickable.StopAtBounds
            model: rowModel
            ScrollBar.vertical: ScrollBar {
                policy: ScrollBar.AsNeeded
            }
            delegate: RCPlayStateItem {
                required property string nodeId
                required property string layerName
                required property string nodeName
                required property int nodeState
                required property real nodeLength
                required property real nodeProgress

                objectName: "playStateRow_" + nodeId
                width: ListView.view.width
                height: Math.max(1, root.mRowHeight * root.mHeightDp)
                mView: root
                mId: nodeId
                mLayerName: layerName
                mNodeName: nodeName
                mState: nodeState
                mLength: nodeLength
                mProgress: nodeProgress
                onProgressModify: (sId, progress) => root.setNode(sId, {"Id": sId, "Progress": progress})
                onStateModify: (sId, state) => root.setNode(sId, {"Id": sId, "State": state})
            }
        }
    }
}
