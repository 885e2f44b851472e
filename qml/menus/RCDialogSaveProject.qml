import QtQuick
import "../common"
import Rc.IRCInterface
import Rc.PathSelection
import Rc.RCMessageBoxManager
import Rc.IRCProject 1.0

// Asks for a project's name and the folder to save it in. The folder starts as the parent of
// mSaveFolderPath; the folder button picks another. "保存" refuses an empty, unusable or too long
// name, an empty folder, the program's own folders and entries (also where a link or a mount
// leads there) and a folder whose project file or thumbnail belongs to no packet (the save would
// replace them) with a notice naming the reason and stays open; otherwise it
// closes and reports accepted(folder, name, packet) with the folder as a local path, packet when
// the target is a project of the list or a folder of a packet's own files only (so a save there
// replaces a project). The cross reports rejected(). The
// folder picker only reads, and opens in the folder shown (unless that is the template cache,
// where nothing may be saved), else in the user's documents folder, else in home.
RCFormDialog {
    id: root

    property string mSaveFolderPath: ""
    property IRCProject mProject: null
    property RCMessageBoxManager mMessageBoxManager: null
    property IRCInterface mInterface: null
    // The folder shown and reported.
    property string mFolder: mInterface ? mInterface.parentFolder(mSaveFolderPath) : ""
    readonly property alias mFolderPicker: folderPicker

    signal accepted(string path, string name, bool packet)
    signal rejected

    mTitle: qsTr("保存")

    // A folder picked, as a local path or its URL.
    function folderChosen(folderUrl) {
        mFolder = mInterface.urlToLocalPath(String(folderUrl))
    }
    // A notice: one "确定".
    function notice(sText) {
        mMessageBoxManager.showMessage(qsTr("提示"), sText, true, false)
        return false
    }
    function isKnownProject(sPath) {
        var count = mProject.getProjectCount()
        for (var i = 0; i < count; ++i) {
            if (mInterface.isSamePath(mProject.getProject(i)["ProjectPacketPath"], sPath))
                return true
        }
        return false
    }
    function save() {
        var name = nameField.text
        if (name === "")
            return notice(qsTr("项目名称不能为空"))
        if (mInterface.isNameTooLong(name))
            return notice(qsTr("名称过长"))
        if (!mInterface.isValidProjectName(name))
            return notice(qsTr("项目名称不能包含\\/:*?\"<>|，也不能以空格或点开头结尾"))
        if (mFolder === "")
            return notice(qsTr("保存路径不能为空"))
        // The program's own folders are checked for the target and each entry a save writes there,
        // wherever a link or a mount leads them. The cache is emptied whenever a template is
        // opened.
        var target = mFolder + "/" + name
        var cache = mProject.getNewProjectPacketPath()
        if (mInterface.isInsideFolder(mFolder, cache) || mInterface.savesIntoFolder(target, cache))
            return notice(qsTr("不能保存到临时文件夹，请选择其他保存路径"))
        // The next install replaces the download folder with everything in it.
        if (mInterface.savesIntoFolder(target, mProject.getDownloadProjectPacketPath()))
            return notice(qsTr("不能保存到安装文件夹，下次安装会替换它，请选择其他保存路径"))
        var managed = mProject.getManagedPaths()
        for (var i = 0; i < managed.length; ++i) {
            if (mInterface.savesIntoFolder(target, managed[i]))
                return notice(qsTr("不能保存到程序自用的文件或文件夹，程序会替换或删除它，请选择其他保存路径"))
        }
        // Each check reads the target's project file once, only as far as its start.
        var known = isKnownProject(target)
        var packet = known || mInterface.isPacketOnly(target)
        // A project file or thumbnail that no packet of ours holds is the user's own; a link leads
        // to a folder that is no packet of the list.
        if (!packet && mInterface.holdsPacketFiles(target)
                && !mInterface.isSamePath(target, mProject.getProjectPacketPath()))
            return notice(mInterface.isLink(target)
                          ? qsTr("该文件夹是指向其他位置的链接，不能保存到此处，请选择其他保存路径")
                          : qsTr("该文件夹中已有其他项目文件，不能保存到此处，请选择其他保存路径"))
        close()
        accepted(mFolder, name, packet)
        return true
    }

    onOpened: nameField.forceActiveFocus()
    onSig_headerClosed: rejected()

    PathSelection {
        id: folderPicker
        title: qsTr("选择保存路径")
        selectFolder: true
        startFolder: root.mFolder !== "" && root.mProject && root.mInterface
                     && !root.mInterface.isInsideFolder(root.mFolder, root.mProject.getNewProjectPacketPath())
                     ? root.mFolder : ""
        onPicked: path => root.folderChosen(path)
    }

    Column {
        x: 20 * RCUnits.dp
        y: 14 * RCUnits.dp
        spacing: 10 * RCUnits.dp

        RCFormRow {
            mLabel: qsTr("项目名称:")
            RCTextField {
                id: nameField
                objectName: "nameField"
                width: 250 * RCUnits.dp
                onAccepted: root.save()
            }
        }
        RCFormRow {
            mLabel: qsTr("保存路径:")
            Item {
                width: 250 * RCUnits.dp
                height: 30 * RCUnits.dp

                RCTextField {
                    objectName: "folderField"
                    width: parent.width - 39 * RCUnits.dp
                    readOnly: true
                    clip: true
                    text: root.mFolder
                }
                RCButton {
                    objectName: "folderButton"
                    anchors.right: parent.right
                    width: 34 * RCUnits.dp
                    height: 30 * RCUnits.dp
                    mImageSource: "qrc:/pathSelect.png"
                    onClicked: folderPicker.show()
                }
            }
        }
    }
    RCDialogButton {
        objectName: "saveButton"
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 16 * RCUnits.dp
        height: 24 * RCUnits.dp
        radius: 4 * RCUnits.dp
        text: qsTr("保存")
        onClicked: root.save()
    }
}
