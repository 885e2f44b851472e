pragma ComponentBehavior: Bound

import QtQuick
import "../common"
import "../menus"
import "../sceneListPanel"
import "../scenePanel"
import Rc.IRCImageManager
import Rc.IRCInterface
import Rc.RCMessageBoxManager
import Rc.IRCProject 1.0
import Rc.IRCSetting 1.0
import Rc.TavixProjectCloudClient 1.0

// The operator's layout: the title panel with the scene-list toggle and the system menu, the
// scene list (shown as the project setting "SceneListVisible" says) and the scene canvas. The
// main window hands it itself (mWindow) and the services its views use.
Rectangle {
    id: root

    property IRCProject mProject: null
    property var mWindow: null
    property RCMessageBoxManager mMessageBoxManager: null
    property IRCInterface mInterface: null
    property IRCImageManager mImageManager: null
    property TavixProjectCloudClient mCloudClient: null
    property string mFileVersion: ""
    property IRCSetting mSetting: null
    property bool mSceneListVisible: true
    // Set by the main window while it draws this layout into the save thumbnail: a hidden layout
    // then shows its scenes as a shown one does.
    property bool mInPicture: false
    // The system menu, null until menu() first makes it: a start shows the layout without it.
    property RCSystemMenu mMenu: null

    color: "#333333"

    function menu() {
        if (!mMenu)
            mMenu = systemMenuComponent.createObject(titlePanel)
        return mMenu
    }

    onMProjectChanged: mSetting = mProject ? mProject.getSetting() : null
    onMSettingChanged: {
        var visible = mSetting ? mSetting.getValue("SceneListVisible") : undefined
        mSceneListVisible = visible === undefined ? true : Boolean(visible)
    }

    Connections {
        target: root.mSetting
        function onSettingValueChanged(sSettingName, settingValue) {
            if (sSettingName === "SceneListVisible")
                root.mSceneListVisible = Boolean(settingValue)
        }
    }

    RCTitlePanel {
        id: titlePanel
        objectName: "controlTitlePanel"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        mProject: root.mProject
        mWindow: root.mWindow
        mCloudClient: root.mCloudClient
        mTerminal: root.mProject ? root.mProject.getTerminal() : null
        mTitleRightLimit: sceneToggle.x

        RCButton {
            id: sceneToggle
            objectName: "sceneListToggle"
            anchors.right: menuButton.left
            anchors.rightMargin: 20 * RCUnits.dp
            anchors.verticalCenter: parent.verticalCenter
            width: 20 * RCUnits.dp
            height: 20 * RCUnits.dp
            mImageSource: "qrc:/scene.png"
            onClicked: root.mSetting.setValue("SceneListVisible", !sceneList.visible)
        }
        RCButton {
            id: menuButton
            objectName: "menuButton"
            anchors.right: parent.right
            anchors.rightMargin: 20 * RCUnits.dp
            anchors.verticalCenter: parent.verticalCenter
            width: 20 * RCUnits.dp
            height: 18 * RCUnits.dp
            mImageSource: "qrc:/menu.png"
            onClicked: root.menu().popupUnder(titlePanel)
        }
        Component {
            id: systemMenuComponent

            RCSystemMenu {
                objectName: "controlSystemMenu"
                mProject: root.mProject
                mWindow: root.mWindow
                mMessageBoxManager: root.mMessageBoxManager
                mInterface: root.mInterface
                mCloudClient: root.mCloudClient
                mFileVersion: root.mFileVersion
            }
        }
    }
    RCSceneListPanel {
        id: sceneList
        objectName: "controlSceneList"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: titlePanel.bottom
        anchors.topMargin: 1 * RCUnits.dp
        // the layout's geometry does not depend on whether it is shown: the save thumbnail
        // draws it hidden as it looks shown
        height: root.mSceneListVisible ? 110 * RCUnits.dp : 0
        visible: root.mSceneListVisible
        mShown: visible || root.mInPicture && root.mSceneListVisible
        mInEditState: false
        mProject: root.mProject
        mImageManager: root.mImageManager
        mScenePresenter: root.mProject ? root.mProject.getScenePresenter() : null
    }
    RCScenePanel {
        objectName: "controlScenePanel"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: sceneList.bottom
        anchors.topMargin: 1 * RCUnits.dp
        anchors.bottom: parent.bottom
        mShown: visible || root.mInPicture
        mInEditState: false
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
    }
}
