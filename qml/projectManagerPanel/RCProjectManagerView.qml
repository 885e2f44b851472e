pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls.Basic
import "../common"
import Rc.IRCInterface
import Rc.RCMessageBoxManager
import Rc.IRCProject 1.0

// One grid of the project manager: a title bar (with an optional "more" link) and a tile per
// template or stored project. A tile is marked by a left click and opened by a double click;
// stored projects (mEnableEdit) also have a context menu to delete or rename them. Tiles are
// keyed by their packet path, templates (which have none) by their name; a key already in the
// grid is not added again. The main window (mWindow) asks for a new name; the open project,
// message boxes and name checks come from the services handed in.
Rectangle {
    id: root

    property string mTitle: ""
    property string mTitleMore: ""
    property bool mEnableEdit: false
    // The packet path of the tile whose context menu is open.
    property string mMenuPacketPath: ""
    property string mMenuName: ""
    property string mRemoveMessageId: ""
    property var mTileMenu: null
    property var mWindow: null
    property IRCProject mProject: null
    property RCMessageBoxManager mMessageBoxManager: null
    property IRCInterface mInterface: null

    signal sig_openTemplateProject(string sProjectName)
    signal sig_openProject(string sPacketPath)
    signal sig_removeProject(string sPacketPath)
    signal sig_renameProject(string sPacketPath, string sProjectName, string sNewProjectName)
    signal sig_moreSelectClicked
    signal sig_selectProject(string sKey)
    // A project file the user picked: its local path or "file:" URL.
    signal sig_openProjectFile(string fileUrl)

    width: mWindow ? mWindow.width : 0
    color: "#1A1A1C"
    clip: true

    function keyOf(row) {
        return mEnableEdit ? row.m_packetPath : row.m_name
    }
    function addProjectItem(params) {
        var row = {
            "m_name": params["Name"] === undefined ? "" : String(params["Name"]),
            "m_thumbnailPath": params["ThumbnailPath"] === undefined ? "" : String(params["ThumbnailPath"]),
            "m_packetPath": params["ProjectPacketPath"] === undefined ? "" : String(params["ProjectPacketPath"]),
            "m_select": false
        }
        if (rowOf(keyOf(row)) >= 0)
            return
        projectModel.append(row)
    }
    function rowOf(key) {
        for (var i = 0; i < projectModel.count; ++i) {
            if (keyOf(projectModel.get(i)) === key)
                return i
        }
        return -1
    }
    function removeProjectItem(key) {
        var row = rowOf(key)
        if (row >= 0)
            projectModel.remove(row)
    }
    function clearProjectItem() {
        projectModel.clear()
    }
    function setProjectThumbnail(key, path) {
        var row = rowOf(key)
        if (row >= 0)
            projectModel.setProperty(row, "m_thumbnailPath", path)
    }
    // Marks the tile of that key only; "" clears the marks.
    function selectProject(key) {
        for (var i = 0; i < projectModel.count; ++i)
            projectModel.setProperty(i, "m_select", key !== "" && keyOf(projectModel.get(i)) === key)
    }
    function firstSelected() {
        for (var i = 0; i < projectModel.count; ++i) {
            if (projectModel.get(i).m_select)
                return projectModel.get(i)
        }
        return null
    }
    function getSelectedProjectPacketPath() {
        var row = firstSelected()
        return row ? row.m_packetPath : ""
    }
    function getSelectedProjectName() {
        var row = firstSelected()
        return row ? row.m_name : ""
    }
    function count() {
        return projectModel.count
    }
    // Why a stored project cannot be removed, or "" when it can: the open project, a packet whose
    // pictures the open document shows, a link (which leads elsewhere), a packet that holds more
    // than its own files. A folder whose project file is no project's may go from the list: none
    // of its files is told for the packet's own, so all stay (askRemove says so).
    function removeRefusal(sPacketPath) {
        if (mInterface.isSamePath(sPacketPath, mProject.getProjectPacketPath()))
            return qsTr("不能删除正在打开的项目！")
        if (mProject.isPacketPictureSource(sPacketPath))
            return qsTr("打开的项目正在使用该项目中的图片，不能删除！")
        if (mInterface.isLink(sPacketPath))
            return qsTr("该项目文件夹是指向其他位置的链接，不能删除！")
        if (mInterface.isProjectPacket(sPacketPath) && !mInterface.isPacketOnly(sPacketPath))
            return qsTr("该文件夹中还有其他文件，不能删除！")
        return ""
    }
    // Refuses at once what cannot be removed; asks about the rest, naming a damaged project file
    // first.
    function askRemove(sPacketPath) {
        var refusal = removeRefusal(sPacketPath)
        if (refusal !== "") {
            mMessageBoxManager.showMessage(qsTr("错误"), refusal, true, false)
            return
        }
        var question = qsTr("确定要删除路径为:") + "\"" + sPacketPath + "\"" + qsTr("的项目吗？")
        if (mInterface.isDamagedPacket(sPacketPath)) {
            var damage = mInterface.isProjectPacket(sPacketPath)
                    ? qsTr("该项目的项目文件已损坏，无法打开。")
                    : qsTr("该项目的项目文件不是有效的项目，无法打开。") + "\n"
                      + qsTr("删除只把它移出列表，文件夹中的文件都会保留。")
            question = damage + "\n" + question
        }
        mRemoveMessageId = mMessageBoxManager.showMessage(qsTr("询问"), question)
        mMenuPacketPath = sPacketPath
    }
    function askRename(sPacketPath, sName) {
        mMenuPacketPath = sPacketPath
        mMenuName = sName
        var dialog = mWindow.openInputDialog(qsTr("重命名"), qsTr("输入项目名称"), "")
        dialog.accepted.connect(function () { root.renameAccepted(sPacketPath, sName, dialog.mValue) })
    }
    // The new name of a stored project; refused with a message when empty, unusable or taken.
    function renameAccepted(sPacketPath, sName, sNewName) {
        var messages = mMessageBoxManager
        if (sNewName === "") {
            messages.showMessage(qsTr("错误"), qsTr("项目名不能为空！"), true, false)
            return false
        }
        if (mInterface.isNameTooLong(sNewName)) {
            messages.showMessage(qsTr("错误"), qsTr("名称过长"), true, false)
            return false
        }
        if (!mInterface.isValidProjectName(sNewName)) {
            messages.showMessage(qsTr("错误"), qsTr("项目名不能包含\\/:*?\"<>|，也不能以空格或点开头结尾！"), true, false)
            return false
        }
        var count = mProject.getProjectCount()
        for (var i = 0; i < count; ++i) {
            if (mProject.getProject(i)["Name"] === sNewName) {
                messages.showMessage(qsTr("错误"), qsTr("项目存在！"), true, false)
                return false
            }
        }
        sig_renameProject(sPacketPath, sName, sNewName)
        return true
    }

    Connections {
        target: root.mMessageBoxManager
        function onMessageBoxAccept(sId) {
            if (sId !== "" && sId === root.mRemoveMessageId) {
                root.mRemoveMessageId = ""
                root.sig_removeProject(root.mMenuPacketPath)
            }
        }
        function onMessageBoxReject(sId) {
            if (sId === root.mRemoveMessageId)
                root.mRemoveMessageId = ""
        }
        function onMessageBoxOnlyClose(sId) {
            if (sId === root.mRemoveMessageId)
                root.mRemoveMessageId = ""
        }
    }
    ListModel {
        id: projectModel
    }
    // The tiles' context menu, made on first use.
    Component {
        id: tileMenuComponent

        Menu {
            width: 100 * RCUnits.dp

            RCMenuItem {
                objectName: "menuRemove"
                text: qsTr("删除")
                onTriggered: root.askRemove(root.mMenuPacketPath)
            }
            RCMenuItem {
                objectName: "menuRename"
                text: qsTr("重命名")
                onTriggered: root.askRename(root.mMenuPacketPath, root.mMenuName)
            }
        }
    }

    Rectangle {
        id: titleBar
        anchors.left: parent.left
        anchors.right: parent.right
        height: 44 * RCUnits.dp
        color: "#1A1A1C"
        border.width: 2 * RCUnits.dp
        border.color: "black"

        RCText {
            x: 27 * RCUnits.dp
            y: 12 * RCUnits.dp
            text: root.mTitle
            color: "white"
            font.pixelSize: 16 * RCUnits.dp
        }
        RCText {
            objectName: "titleMore"
            anchors.right: parent.right
            anchors.rightMargin: 46 * RCUnits.dp
            y: 12 * RCUnits.dp
            visible: root.mTitleMore !== ""
            text: root.mTitleMore
            color: "white"
            font.pixelSize: 16 * RCUnits.dp
        }
        Image {
            objectName: "moreButton"
            anchors.right: parent.right
            anchors.rightMargin: 26 * RCUnits.dp
            y: 14 * RCUnits.dp
            width: 16 * RCUnits.dp
            height: 13 * RCUnits.dp
            visible: root.mTitleMore !== ""
            source: "qrc:/moreSelections.png"
            mipmap: true

            MouseArea {
                anchors.fill: parent
                anchors.margins: -6 * RCUnits.dp
                onClicked: root.sig_moreSelectClicked()
            }
        }
    }
    GridView {
        id: grid
        objectName: "projectGrid"
        anchors.left: parent.left
        anchors.leftMargin: 102 * RCUnits.dp
        anchors.right: parent.right
        anchors.rightMargin: 24 * RCUnits.dp
        anchors.top: titleBar.bottom
        anchors.topMargin: 17 * RCUnits.dp
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 14 * RCUnits.dp
        cellWidth: 211 * RCUnits.dp
        cellHeight: 137 * RCUnits.dp
        clip: true
        model: projectModel
        boundsBehavior: Flickable.StopAtBounds

        // The scroll bar is made once the tiles no longer fit (the attached object is made on
        // first reading, so it is not read before).
        onContentHeightChanged: {
            if (contentHeight > height && !ScrollBar.vertical)
                ScrollBar.vertical = scrollBarComponent.createObject(grid)
        }

        Component {
            id: scrollBarComponent

            ScrollBar {}
        }

        delegate: RCProjectItem {
            id: tile

            required property int index
            required property string m_packetPath

            objectName: "tile_" + m_name
            mWholeThumbnail: !root.mEnableEdit

            MouseArea {
                anchors.fill: parent
                acceptedButtons: Qt.LeftButton | Qt.RightButton
                hoverEnabled: true
                onContainsMouseChanged: {
                    if (containsMouse)
                        ToolTip.show(tile.m_name)
                    else
                        ToolTip.hide()
                }
                onReleased: mouse => {
                    if (mouse.button === Qt.LeftButton) {
                        root.sig_selectProject(root.mEnableEdit ? tile.m_packetPath : tile.m_name)
                    } else if (root.mEnableEdit) {
                        root.mMenuPacketPath = tile.m_packetPath
                        root.mMenuName = tile.m_name
                        var corner = tile.mapToItem(root, tile.width, 0)
                        if (!root.mTileMenu)
                            root.mTileMenu = tileMenuComponent.createObject(root)
                        root.mTileMenu.popup(root, corner.x, corner.y)
                    }
                }
                onDoubleClicked: mouse => {
                    if (mouse.button !== Qt.LeftButton)
                        return
                    if (root.mEnableEdit)
                        root.sig_openProject(tile.m_packetPath)
                    else
                        root.sig_openTemplateProject(tile.m_name)
                }
            }
        }
    }
}
