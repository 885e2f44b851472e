import QtQuick
import Rc.RCScenePresenter 1.0

// The base of the scene list and the catalog: the project's scenes whose "TypeName" the item's
// "TypeNameList" names, in the project's order, the shown scene marked. The list follows scenes
// being added (at their place among the listed ones), removed, renamed, given another icon,
// indent or type, and the scene selection; a change of "TypeNameList" lists the scenes again.
// Rows: {"sceneId", "sceneName", "iconPath", "indentLevel", "selected"}.
//
// The frame (background, border, caption above) is the base's; a view puts its list into the
// frame's content area and calls selectScene for a tap.
RCSceneItem {
    id: root

    property string mName: ""
    property real mTextSize: 12
    property color mTextColor: "white"
    property bool mTextBold: true
    property color mBackgroundColor: "transparent"
    property color mFrameColor: "gray"
    property real mFrameSize: 5
    property real mFrameMargin: 5
    property real mNodeWidth: 60
    property real mNodeHeight: 60
    property real mNodeSpacing: 10
    property string mTypeNameList: ""
    property RCScenePresenter mScenePresenter: null
    readonly property alias mScenes: sceneModel
    readonly property var mBaseKeyTable: [
        ["Name", "mName", "", "text"],
        ["TextSize", "mTextSize", 12, "number"],
        ["TextColor", "mTextColor", "white", "color"],
        ["TextBold", "mTextBold", true, "bool"],
        ["FrameColor", "mFrameColor", "gray", "color"],
        ["FrameSize", "mFrameSize", 5, "number"],
        ["FrameMargin", "mFrameMargin", 5, "number"],
        ["SceneList_Node_Width", "mNodeWidth", 60, "number"],
        ["SceneList_Node_Height", "mNodeHeight", 60, "number"],
        ["SceneList_Node_Spaceing", "mNodeSpacing", 10, "number"],
        ["TypeNameList", "mTypeNameList", "", "text"]
    ]
    default property alias mFrameContent: frame.mContent

    function rowOf(sceneId) {
        for (var i = 0; i < sceneModel.count; ++i) {
            if (sceneModel.get(i).sceneId === sceneId)
                return i
        }
        return -1
    }
    function passes(sceneId) {
        return mSceneItemId !== "" && root.mInterface.sceneListItemContainScene(mSceneId, mSceneItemId, sceneId)
    }
    function rebuild() {
        sceneModel.clear()
        if (!mScenePresenter)
            return
        var ids = mScenePresenter.getSceneIds()
        var rows = []
        for (var i = 0; i < ids.length; ++i) {
            if (passes(ids[i]))
                rows.push(rowFor(ids[i]))
        }
        sceneModel.append(rows)
    }
    function rowFor(sceneId) {
        return {
            "sceneId": sceneId,
            "sceneName": textOf(sceneId, "Name"),
            "iconPath": textOf(sceneId, "IconPath"),
            "indentLevel": Math.max(0, Number(mScenePresenter.getPropertyValue(sceneId, "IndentLevel")) || 0),
            "selected": sceneId === mScenePresenter.getSelectSceneId()
        }
    }
    function textOf(sceneId, name) {
        var value = mScenePresenter.getPropertyValue(sceneId, name)
        return value === undefined || value === null ? "" : String(value)
    }
    // Lists the scene where the project's order puts it among the listed scenes, or renews its
    // row when it is listed already.
    function putScene(sceneId) {
        var row = rowOf(sceneId)
        if (row >= 0) {
            sceneModel.set(row, rowFor(sceneId))
            return
        }
        var ids = mScenePresenter.getSceneIds()
        var position = 0
        for (var i = 0; i < ids.length && ids[i] !== sceneId; ++i) {
            if (rowOf(ids[i]) >= 0)
                ++position
        }
        sceneModel.insert(Math.min(position, sceneModel.count), rowFor(sceneId))
    }
    function dropScene(sceneId) {
        var row = rowOf(sceneId)
        if (row >= 0)
            sceneModel.remove(row)
    }
    function selectScene(sceneId) {
        if (mScenePresenter)
            mScenePresenter.setSelectScene(sceneId)
    }

    mKeyTable: mBaseKeyTable
    onSig_sceneItemChanged: {
        mScenePresenter = mProject ? mProject.getScenePresenter() : null
        rebuild()
    }
    onSig_sceneItemPropertyChanged: (sProName, value) => {
        if (sProName === "TypeNameList")
            rebuild()
    }

    Connections {
        target: root.mScenePresenter
        function onSceneAdd(sceneId, index) {
            if (root.passes(sceneId))
                root.putScene(sceneId)
        }
        function onSceneRemove(sceneId) {
            root.dropScene(sceneId)
        }
        function onScenePropertyValueChanged(sceneId, sName, value) {
            if (sName === "TypeName") {
                if (root.passes(sceneId))
                    root.putScene(sceneId)
                else
                    root.dropScene(sceneId)
            } else if (sName === "Name" || sName === "IconPath" || sName === "IndentLevel") {
                var row = root.rowOf(sceneId)
                if (row >= 0)
                    sceneModel.set(row, root.rowFor(sceneId))
            }
        }
        function onSceneSelectChanged(sceneId) {
            for (var i = 0; i < sceneModel.count; ++i)
                sceneModel.setProperty(i, "selected", sceneModel.get(i).sceneId === sceneId)
        }
    }
    ListModel {
        id: sceneModel
    }

    mContentItem: RCSceneItemFrame {
        id: frame
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
    }
}
