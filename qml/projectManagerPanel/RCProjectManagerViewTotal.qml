import QtQuick
import "../common"
import Rc.IRCInterface
import Rc.RCMessageBoxManager
import Rc.IRCProject 1.0

// The project manager page: templates above, stored projects below, "确定" (and, as an overlay,
// "取消") at the bottom right, the version in the footer and a link to the resource centre. One
// tile is marked at a time, in either grid; "确定" and a double click open it. A stored project
// is removed only when it is not the open one and its folder holds nothing but the packet. The
// main window (mWindow) and the services the page uses are handed in by whoever shows it.
Rectangle {
    id: root

    property IRCProject mProject: null
    property var mWindow: null
    property RCMessageBoxManager mMessageBoxManager: null
    property IRCInterface mInterface: null
    property string mFileVersion: ""
    property bool buttonCancelVisible: false
    readonly property string mLibraryUrl: "https://library.tavix.example/"

    signal sig_successOpenProject
    signal sig_buttonCancelClicked

    color: "#1A1A1C"

    function flushProjectManagerView() {
        if (!mProject)
            return
        templateView.fill(mProject)
        storageView.fill(mProject)
    }
    function failed(sText) {
        mMessageBoxManager.showMessage(qsTr("提示"), sText, true, false)
    }
    // A failure names its reason when the project knows it.
    function opened(res, sFailText) {
        if (res) {
            sig_successOpenProject()
        } else {
            var reason = mProject.getLastOpenError()
            failed(reason === "" ? sFailText : sFailText + "\n" + reason)
        }
        return res
    }
    function openTemplate(sName) {
        return opened(mProject.loadTemplateProjectPacket(sName), qsTr("打开工程模板失败"))
    }
    function openStored(sPacketPath) {
        return opened(mProject.loadStorageProjectPacket(sPacketPath), qsTr("打开工程失败"))
    }
    function openFile(sFileUrl) {
        return opened(mProject.loadStorageProjectFile(sFileUrl), qsTr("打开工程失败"))
    }
    function openSelected() {
        var path = storageView.getSelectedProjectPacketPath()
        if (path !== "")
            return openStored(path)
        return opened(mProject.loadTemplateProjectPacket(templateView.getSelectedProjectName()), qsTr("打开工程失败"))
    }
    function removeProject(sPacketPath) {
        var messages = mMessageBoxManager
        // Checked again: the open project may have changed while the question was open.
        var refusal = storageView.removeRefusal(sPacketPath)
        if (refusal !== "") {
            messages.showMessage(qsTr("错误"), refusal, true, false)
            return false
        }
        var res = mProject.removeProjectPakcet(sPacketPath)
        if (!res)
            messages.showMessage(qsTr("错误"), qsTr("删除项目失败！"), true, false)
        flushProjectManagerView()
        return res
    }
    function renameProject(sPacketPath, sName, sNewName) {
        var res = mProject.renameProjectPakcet(sPacketPath, sName, sNewName)
        if (!res)
            mMessageBoxManager.showMessage(qsTr("错误"), qsTr("重命名项目失败！"), true, false)
        flushProjectManagerView()
        return res
    }
    function select(view, other, sKey) {
        view.selectProject(sKey)
        other.selectProject("")
    }

    RCProjectManagerViewTemplate {
        id: templateView
        objectName: "templateView"
        anchors.top: parent.top
        anchors.left: parent.left
        width: parent.width
        height: (root.height - 41 * RCUnits.dp) / 2
        mWindow: root.mWindow
        mProject: root.mProject
        mMessageBoxManager: root.mMessageBoxManager
        mInterface: root.mInterface
        onSig_selectProject: sKey => root.select(templateView, storageView, sKey)
        onSig_openTemplateProject: sName => root.openTemplate(sName)
    }
    RCProjectManagerViewStorage {
        id: storageView
        objectName: "storageView"
        anchors.top: templateView.bottom
        anchors.left: parent.left
        width: parent.width
        height: (root.height - 41 * RCUnits.dp) / 2
        mWindow: root.mWindow
        mProject: root.mProject
        mMessageBoxManager: root.mMessageBoxManager
        mInterface: root.mInterface
        onSig_selectProject: sKey => root.select(storageView, templateView, sKey)
        onSig_openProject: sPacketPath => root.openStored(sPacketPath)
        onSig_openProjectFile: fileUrl => root.openFile(fileUrl)
        onSig_removeProject: sPacketPath => root.removeProject(sPacketPath)
        onSig_renameProject: (sPacketPath, sName, sNewName) => root.renameProject(sPacketPath, sName, sNewName)
    }
    Item {
        anchors.right: parent.right
        anchors.rightMargin: 16 * RCUnits.dp
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 14 * RCUnits.dp
        width: 179 * RCUnits.dp
        height: 41 * RCUnits.dp
        z: 1

        RCPageButton {
            id: okButton
            objectName: "okButton"
            anchors.right: root.buttonCancelVisible ? cancelLoader.left : parent.right
            anchors.rightMargin: 7 * RCUnits.dp
            text: qsTr("确定")
            onClicked: root.openSelected()
        }
        // "取消" is made only where the page shows it (as an overlay).
        Loader {
            id: cancelLoader
            anchors.right: parent.right
            active: root.buttonCancelVisible
            sourceComponent: RCPageButton {
                objectName: "cancelButton"
                text: qsTr("取消")
            }
            onLoaded: item.clicked.connect(root.sig_buttonCancelClicked)
        }
    }
    Column {
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 4 * RCUnits.dp
        spacing: 2 * RCUnits.dp

        RCText {
            objectName: "versionText"
            anchors.horizontalCenter: parent.horizontalCenter
            text: qsTr("Stelvane® Tavix 中控软件 版本 ") + root.mFileVersion
            color: "#BBB7B7"
        }
        RCText {
            anchors.horizontalCenter: parent.horizontalCenter
            text: qsTr("© Stelvane 保留所有权利")
            color: "#8D8D8D"
        }
    }
    Text {
        objectName: "libraryLink"
        x: 6 * RCUnits.dp
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 4 * RCUnits.dp
        text: qsTr("资源中心Tavix库")
        color: linkArea.pressed ? "#4da8c7" : "white"
        font.family: "微软雅黑"
        font.underline: true
        font.pointSize: 12

        MouseArea {
            id: linkArea
            anchors.fill: parent
            cursorShape: Qt.PointingHandCursor
            onClicked: {
                var res = Qt.openUrlExternally(root.mLibraryUrl)
                console.log("RCProjectManagerViewTotal: open", root.mLibraryUrl, res ? "succeeded" : "failed")
            }
        }
    }
}
