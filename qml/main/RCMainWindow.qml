import QtQuick
import QtQuick.Controls
import QtQuick.Window

// The least main window: the current project's name, its scenes, and the message boxes that
// native code and QML raise through getRCMessageBoxManager.
Window {
    id: root
    width: 1280
    height: 800
    visible: true
    title: "Tavix Editor"

    property string projectName: project.getProjectName()
    property var sceneNames: []
    property var openBoxIds: []

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
        function onCurrentProjectChanged(sProjectName) { root.projectName = sProjectName; root.refreshScenes() }
    }
    Connections {
        target: project.getScenePresenter()
        function onSceneAdd(sceneId, index) { root.refreshScenes() }
        function onSceneRemove(sceneId) { root.refreshScenes() }
        function onScenePropertyValueChanged(sceneId, sName, value) { if (sName === "Name") root.refreshScenes() }
    }
    Connections {
        target: getRCMessageBoxManager
        function onMessageBoxShow(sId) { root.showBox(sId) }
        function onMessageBoxAccept(sId) { root.dropBox(sId) }
        function onMessageBoxReject(sId) { root.dropBox(sId) }
        function onMessageBoxOnlyClose(sId) { root.dropBox(sId) }
    }

    Component.onCompleted: {
        windowEventFilter.setWindow(root)
        refreshScenes()
        var pending = getRCMessageBoxManager.getShownMessageIds()
        for (var i = 0; i < pending.length; ++i)
            showBox(pending[i])
    }

    Column {
        anchors.fill: parent
        anchors.margins: 16
        spacing: 8
        Label { objectName: "projectNameLabel"; text: root.projectName; font.pixelSize: 20 }
        Repeater {
            model: root.sceneNames
            Label { text: modelData }
        }
    }

    Repeater {
        model: root.openBoxIds
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
