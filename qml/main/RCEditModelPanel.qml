pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls.Basic
import "../common"
import "../controlListPanel"
import "../menus"
import "../sceneListPanel"
import "../propertyPanel"
import "../scenePanel"
import Rc.IRCAction
import Rc.IRCImageManager
import Rc.IRCInterface
import Rc.RCMessageBoxManager
import Rc.IRCProject 1.0
import Rc.RCCmdPresenter 1.0
import Rc.TavixProjectCloudClient 1.0

// The designer's layout: the title panel with the alignment tools, undo and redo and the system
// menu; below it the scene list and the scene canvas at the left, the control catalogue above
// the property panel at the right. The undo and redo buttons are enabled while there is
// something to undo or redo. Its save entry is the one the main window's save question and
// Ctrl+S use. The main window hands it itself (mWindow) and the services its views use.
Rectangle {
    id: root

    property IRCProject mProject: null
    property var mWindow: null
    property RCMessageBoxManager mMessageBoxManager: null
    property IRCInterface mInterface: null
    property IRCImageManager mImageManager: null
    property TavixProjectCloudClient mCloudClient: null
    property string mFileVersion: ""
    property RCCmdPresenter mCmdPresenter: null
    property bool mSceneListVisible: true
    // The system menu, null until menu() first makes it: a start shows the layout without it.
    property RCSystemMenu mMenu: null
    // The right pane is at least as wide as the property rows need (a 140 name cell and the
    // widest editor, the colour row's swatch, "透明度", input and "%"), the handle included.
    readonly property real mSidePaneMinWidth: 316 * RCUnits.dp

    color: "#333333"

    function menu() {
        if (!mMenu)
            mMenu = systemMenuComponent.createObject(titlePanel)
        return mMenu
    }
    function triggerAction(actionType) {
        var scenes = mProject.getScenePresenter()
        scenes.triggerAction(scenes.getSelectSceneId(), actionType, "")
    }

    onMProjectChanged: mCmdPresenter = mProject ? mProject.getCmdPresenter() : null

    Connections {
        target: root.mCmdPresenter
        function onUndoCommandsEmptyChanged(isEmpty) {
            undoButton.enabled = !isEmpty
        }
        function onRedoCommandsEmptyChanged(isEmpty) {
            redoButton.enabled = !isEmpty
        }
    }

    RCTitlePanel {
        id: titlePanel
        objectName: "editTitlePanel"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        mProject: root.mProject
        mWindow: root.mWindow
        mCloudClient: root.mCloudClient
        mTerminal: root.mProject ? root.mProject.getTerminal() : null
        mTitleRightLimit: tools.x

        Row {
            id: tools
            anchors.right: menuButton.left
            anchors.rightMargin: 10 * RCUnits.dp
            anchors.verticalCenter: parent.verticalCenter
            spacing: 10 * RCUnits.dp
            layoutDirection: Qt.RightToLeft

            Repeater {
                model: [
                    {"name": "verCenter", "image": "qrc:/alignVerticalCenter.png", "tip": qsTr("竖向居中"), "type": IRCAction.EActionType_VerCenterAlignment},
                    {"name": "horCenter", "image": "qrc:/alignHorzontalCenter.png", "tip": qsTr("横向居中"), "type": IRCAction.EActionType_HorCenterAlignment},
                    {"name": "right", "image": "qrc:/alignRight.png", "tip": qsTr("右侧对齐"), "type": IRCAction.EActionType_RightAlignment},
                    {"name": "left", "image": "qrc:/alignLeft.png", "tip": qsTr("左侧对齐"), "type": IRCAction.EActionType_LeftAlignment},
                    {"name": "bottom", "image": "qrc:/alignBottom.png", "tip": qsTr("底部对齐"), "type": IRCAction.EActionType_BottomAlignment},
                    {"name": "top", "image": "qrc:/alignTop.png", "tip": qsTr("顶部对齐"), "type": IRCAction.EActionType_TopAlignment},
                    {"name": "verBisector", "image": "qrc:/alignVerBisector.png", "tip": qsTr("竖向平分"), "type": IRCAction.EActionType_VerBisectorAlignment},
                    {"name": "horBisector", "image": "qrc:/alignHorBisector.png", "tip": qsTr("横向平分"), "type": IRCAction.EActionType_HorBisectorAlignment}
                ]
                RCButton {
                    required property var modelData

                    objectName: "align_" + modelData.name
                    anchors.verticalCenter: parent.verticalCenter
                    width: 20 * RCUnits.dp
                    height: 20 * RCUnits.dp
                    mImageSource: modelData.image
                    mTips: modelData.tip
                    onClicked: root.triggerAction(modelData.type)
                }
            }
            RCButton {
                id: redoButton
                objectName: "redoButton"
                anchors.verticalCenter: parent.verticalCenter
                width: 32 * RCUnits.dp
                height: 32 * RCUnits.dp
                enabled: false
                mImageSource: "qrc:/redo.png"
                mTips: qsTr("下一步")
                onClicked: root.triggerAction(IRCAction.EActionType_Redo)
            }
            RCButton {
                id: undoButton
                objectName: "undoButton"
                anchors.verticalCenter: parent.verticalCenter
                width: 32 * RCUnits.dp
                height: 32 * RCUnits.dp
                enabled: false
                mImageSource: "qrc:/undo.png"
                mTips: qsTr("上一步")
                onClicked: root.triggerAction(IRCAction.EActionType_Undo)
            }
        }
        RCButton {
            id: menuButton
            objectName: "menuButton"
            anchors.right: parent.right
            anchors.rightMargin: 20 * RCUnits.dp
            anchors.verticalCenter: parent.verticalCenter
            width: 20 * RCUnits.dp
            height: 20 * RCUnits.dp
            mImageSource: "qrc:/menu.png"
            onClicked: root.menu().popupUnder(titlePanel)
        }
        Component {
            id: systemMenuComponent

            RCSystemMenu {
                objectName: "editSystemMenu"
                mProject: root.mProject
                mWindow: root.mWindow
                mMessageBoxManager: root.mMessageBoxManager
                mInterface: root.mInterface
                mCloudClient: root.mCloudClient
                mFileVersion: root.mFileVersion
            }
        }
    }
    RCSplitView {
        objectName: "editSplitView"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: titlePanel.bottom
        anchors.topMargin: 1 * RCUnits.dp
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 1 * RCUnits.dp
        orientation: Qt.Horizontal

        Rectangle {
            id: leftPane
            SplitView.preferredWidth: Math.min(root.width * 3 / 4, root.width - root.mSidePaneMinWidth)
            color: "#333333"

            RCSceneListPanel {
                id: sceneList
                objectName: "editSceneList"
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.top: parent.top
                height: visible ? 110 * RCUnits.dp : 0
                visible: root.mSceneListVisible
                mInEditState: true
                mProject: root.mProject
                mImageManager: root.mImageManager
                mScenePresenter: root.mProject ? root.mProject.getScenePresenter() : null
            }
            RCScenePanel {
                objectName: "editScenePanel"
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.top: sceneList.bottom
                anchors.topMargin: 1 * RCUnits.dp
                anchors.bottom: parent.bottom
                mInEditState: true
                mWindow: root.mWindow
                mProject: root.mProject
                mStelvaneSyncer: root.mProject ? root.mProject.getStelvaneSyncer() : null
                mImageManager: root.mImageManager
                mInterface: root.mInterface
                mCloudClient: root.mCloudClient
                mMessageBoxManager: root.mMessageBoxManager
                mConnectDialogHost: titlePanel
                mScenePresenter: root.mProject ? root.mProject.getScenePresenter() : null
                mSceneItemPresenter: root.mProject ? root.mProject.getSceneItemPresenter() : null
                mControlManager: root.mProject ? root.mProject.getControlManager() : null
            }
            Rectangle {
                objectName: "sceneListFold"
                anchors.horizontalCenter: parent.horizontalCenter
                anchors.top: sceneList.bottom
                width: 87 * RCUnits.dp
                height: 24 * RCUnits.dp
                color: "#1A1A1C"

                RCImage {
                    anchors.centerIn: parent
                    width: 16 * RCUnits.dp
                    height: 16 * RCUnits.dp
                    source: root.mSceneListVisible ? "qrc:/foldUp.png" : "qrc:/dropDown.png"
                }
                MouseArea {
                    anchors.fill: parent
                    onClicked: root.mSceneListVisible = !root.mSceneListVisible
                }
            }
        }
        RCSplitView {
            orientation: Qt.Vertical

            RCControlPanel {
                objectName: "editControlPanel"
                SplitView.preferredHeight: 300 * RCUnits.dp
                mControlManager: root.mProject ? root.mProject.getControlManager() : null
            }
            RCPropertyPanel {
                objectName: "editPropertyPanel"
                mProject: root.mProject
                mMessageBoxManager: root.mMessageBoxManager
                mImageManager: root.mImageManager
                SplitView.fillHeight: true
                mPlatform: root.mProject ? root.mProject.getPlatform() : null
                mScenePresenter: root.mProject ? root.mProject.getScenePresenter() : null
                mSceneItemPresenter: root.mProject ? root.mProject.getSceneItemPresenter() : null
            }
        }
    }
}
