pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls.Basic
import Rc.IRCAction 1.0
import "../sceneListPanel"

// A list of scene tiles (the scene strip's tiles) of the scenes the item names by type, flowing
// left to right ("SceneList_LayoutType" 0) or top to bottom. In control mode a tap plays the
// click sound and shows that scene.
RCSceneItemSceneListBase {
    id: root

    property int mLayoutType: 0
    property real mNodeFontSize: 25
    property color mNodeFontColor: "#FA5611"

    mKeyTable: mBaseKeyTable.concat([
        ["SceneList_BackgroundColor", "mBackgroundColor", "transparent", "color"],
        ["SceneList_LayoutType", "mLayoutType", 0, "number"],
        ["SceneList_Node_FontSize", "mNodeFontSize", 25, "number"],
        ["SceneList_Node_FontColor", "mNodeFontColor", "#FA5611", "color"]
    ])

    GridView {
        objectName: "sceneListGrid"
        anchors.fill: parent
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        flow: root.mLayoutType === 0 ? GridView.FlowLeftToRight : GridView.FlowTopToBottom
        cellWidth: Math.max(1, (root.mNodeWidth + root.mNodeSpacing) * root.mWidthDp)
        cellHeight: Math.max(1, (root.mNodeHeight + root.mNodeSpacing) * root.mHeightDp)
        model: root.mScenes
        ScrollBar.vertical: ScrollBar {
            policy: ScrollBar.AsNeeded
        }
        delegate: RCSceneListItem {
            required property string sceneId
            required property string sceneName
            required property string iconPath
            required property bool selected

            objectName: "sceneListEntry_" + sceneId
            width: Math.max(0, root.mNodeWidth * root.mWidthDp)
            height: Math.max(0, root.mNodeHeight * root.mHeightDp)
            mSceneId: sceneId
            mName: sceneName
            mIconPath: iconPath
            mSelect: selected
            mFontColor: root.mNodeFontColor
            mFontSize: Math.max(1, root.mNodeFontSize * root.mHeightDp)
            enabled: !root.mInEditState
            onSig_clicked: {
                if (root.mSceneItemPresenter)
                    root.mSceneItemPresenter.triggerAction("", "", IRCAction.EActionType_PlayClickSound, "")
                root.selectScene(mSceneId)
            }
        }
    }
}
