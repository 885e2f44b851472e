import QtQuick
import QtQuick.Controls
import QtQuick.Window
import "../sceneListPanel"
import "../controlListPanel"

// The least main window: the current project's name, its scenes, the scene strip and the
// control list, and the message boxes that native code and QML raise through
// getRCMessageBoxManager. Gives the views inside it `mainWindow`, `dp` and calDialogGeometry().
Window {
    id: mainWindow
    width: 1280
    height: 800
    visible: true
    title: "Tavix Editor"

    readonly property real dp: 1
    property string projectName: project.getProjectName()
    property var sceneNames: []
    property var openBoxIds: []

    // Centres a dialog (a popup of this window) in the window.
    function calDialogGeometry(dialog) {
        dialog.x = (mainWindow.width - dialog.width) / 2
        dialog.y = (mainWindow.height - dialog.height) / 2
    }
    function refreshScenes() {
        var presenter = project.getScenePresenter()
        var ids = presenter.getSceneIds()
        var names = []
        for (var i = 0; i < ids.length; ++i)
            names.push(presenter.getPropertyValue(ids[i], "Name"))
        sceneNames = names
    }
    function showBox(sId) {
        if (openBoxIds.indexOf(sId) < 0)
            openBoxIds = openBoxIds.concat([sId])
    }
    function dropBox(sId) {
        openBoxIds = openBoxIds.filter(function (id) { return id !== sId })
    }

    Connections {
        target: project
        function onCurrentProjectChanged(sProjectName) { mainWindow.projectName = sProjectName; mainWindow.refreshScenes() }
    }
    Connections {
        target: project.getScenePresenter()
        function onSceneAdd(sceneId, index) { mainWindow.refreshScenes() }
        function onSceneRemove(sceneId) { mainWindow.refreshScenes() }
        function onScenePropertyValueChanged(sceneId, sName, value) { if (sName === "Name") mainWindow.refreshScenes() }
    }
    Connections {
        target: getRCMessageBoxManager
        function onMessageBoxShow(sId) { mainWindow.showBox(sId) }
        function onMessageBoxAccept(sId) { mainWindow.dropBox(sId) }
        function onMessageBoxReject(sId) { mainWindow.dropBox(sId) }
        function onMessageBoxOnlyClose(sId) { mainWindow.dropBox(sId) }
    }

    Component.onCompleted: {
        windowEventFilter.setWindow(mainWindow)
        refreshScenes()
        var pending = getRCMessageBoxManager.getShownMessageIds()
        for (var i = 0; i < pending.length; ++i)
            showBox(pending[i])
    }

    RCSceneListPanel {
        id: sceneListPanel
        objectName: "sceneListPanel"
        anchors.left: parent.left
        anchors.right: controlPanel.left
        anchors.top: parent.top
        height: 110 * mainWindow.dp
        mProject: project
        mScenePresenter: project.getScenePresenter()
    }
    RCControlPanel {
        id: controlPanel
        objectName: "controlPanel"
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.bottom: parent.bottom
        width: 300 * mainWindow.dp
        mControlManager: project.getControlManager()
    }
    Column {
        anchors.left: parent.left
        anchors.right: controlPanel.left
        anchors.top: sceneListPanel.bottom
        anchors.bottom: parent.bottom
        anchors.margins: 16
        spacing: 8
        Label { objectName: "projectNameLabel"; text: mainWindow.projectName; font.pixelSize: 20 }
        Repeater {
            model: mainWindow.sceneNames
            Label { text: modelData }
        }
    }

    Repeater {
        model: mainWindow.openBoxIds
        Rectangle {
            required property string modelData
            anchors.centerIn: parent
            width: 360
            height: 160
            border.color: "#808080"
            Column {
                anchors.fill: parent
                anchors.margins: 12
                spacing: 8
                Label { text: getRCMessageBoxManager.getTitle(modelData); font.bold: true }
                Label { text: getRCMessageBoxManager.getText(modelData); wrapMode: Text.Wrap; width: parent.width }
                Row {
                    spacing: 8
                    Button { text: "确定"; visible: getRCMessageBoxManager.okButtonIsVisible(modelData); onClicked: getRCMessageBoxManager.accept(modelData) }
                    Button { text: "取消"; visible: getRCMessageBoxManager.cancelButtonIsVisible(modelData); onClicked: getRCMessageBoxManager.reject(modelData) }
                    Button { text: "关闭"; visible: getRCMessageBoxManager.closeButtonIsVisible(modelData); onClicked: getRCMessageBoxManager.close(modelData) }
                }
            }
        }
    }
}
