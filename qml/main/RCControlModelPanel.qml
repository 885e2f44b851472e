import QtQuick
import "../common"
import "../menus"
import "../sceneListPanel"
import "../scenePanel"

// The operator's layout: the title panel with the scene-list toggle and the system menu, the
// scene list (shown as the project setting "SceneListVisible" says) and the scene canvas.
Rectangle {
    id: root

    property var mProject: null
    // The services the scene panel hands to its views (see RCSceneItem).
    property var mImageManager: null
    property var mInterface: null
    property var mCloudClient: null
    property var mSetting: null
    property bool mSceneListVisible: true
    readonly property alias mMenu: systemMenu

    color: "#333333"

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
            onClicked: systemMenu.popupUnder(titlePanel)
        }
        RCSystemMenu {
            id: systemMenu
            objectName: "controlSystemMenu"
            mProject: root.mProject
        }
    }
    RCSceneListPanel {
        id: sceneList
        objectName: "controlSceneList"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: titlePanel.bottom
        anchors.topMargin: 1 * RCUnits.dp
        height: visible ? 110 * RCUnits.dp : 0
        visible: root.mSceneListVisible
        mInEditState: false
        mProject: root.mProject
        mScenePresenter: root.mProject ? root.mProject.getScenePresenter() : null
    }
    RCScenePanel {
        objectName: "controlScenePanel"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: sceneList.bottom
        anchors.topMargin: 1 * RCUnits.dp
        anchors.bottom: parent.bottom
        mInEditState: false
        mScenePresenter: root.mProject ? root.mProject.getScenePresenter() : null
        mSceneItemPresenter: root.mProject ? root.mProject.getSceneItemPresenter() : null
        mProject: root.mProject
        mStelvaneSyncer: root.mProject ? root.mProject.getStelvaneSyncer() : null
        mImageManager: root.mImageManager
        mInterface: root.mInterface
        mCloudClient: root.mCloudClient
    }
}
