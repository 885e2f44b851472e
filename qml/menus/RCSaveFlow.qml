pragma ComponentBehavior: Bound

import QtQuick
import Rc.IRCInterface
import Rc.RCMessageBoxManager
import Rc.IRCProject 1.0

// The road of a save into a folder the user names, shared by "保存" and "另存为和打开": the
// question about missing pictures (checkPictures), the save dialog, the overwrite question when
// the target is a packet ("项目存在，是否覆盖？") or another folder that is not empty ("文件夹不为空，
// 是否保存到此处？"), then the save itself. A save of the open packet where it is (saveInPlace)
// asks first when its project file was changed by another program ("项目文件已被其他程序修改，是否
// 覆盖？"). The packet path moves to the new folder only after the
// packet was written there; the thumbnail follows a successful save. Reports finished(res,
// cancelled) once per accepted dialog (cancelled: the user declined the overwrite, nothing was
// written), dialogClosed() when the dialog's cross was pressed, or picturesDeclined() when the
// user declined to save without the missing pictures (nothing was tried).
//
// The window hears when the dialog or the overwrite question opens and goes
// (mWindow.saveFlowOpenChanged), so that nothing the user did not start replaces the document
// meanwhile. Should the project be replaced all the same, the dialog closes (dialogClosed()) and
// the question is withdrawn (finished(false, true)): a name typed for one document never holds
// another.
QtObject {
    id: root

    property IRCProject mProject: null
    // The main window, which holds the dialog and writes the thumbnail.
    property var mWindow: null
    property RCMessageBoxManager mMessageBoxManager: null
    property IRCInterface mInterface: null
    property string mTitle: qsTr("保存")
    // Logged when a save is asked for without a folder.
    property string mEmptyPathLog: "Error: save project path is null."
    property string folderPath: ""
    property string mMessageBoxId: ""
    property var mDialog: null
    // The question about pictures that are missing, and what runs once it is answered "确定".
    property string mPictureQuestionId: ""
    property var mPendingSave: null
    // True from the dialog's opening until the save is decided.
    readonly property bool mBusy: mDialog !== null || mMessageBoxId !== "" || mPictureQuestionId !== ""
    // While save() runs: the project changes because of it.
    property bool mSaving: false

    signal finished(bool res, bool cancelled)
    signal dialogClosed
    signal picturesDeclined

    // Runs proceed() at once when every picture of the document is there. Otherwise names the
    // missing ones and asks first: "确定" empties their values and runs proceed(), any other
    // answer reports picturesDeclined().
    function checkPictures(proceed) {
        var missing = mProject.getMissingPictures()
        if (missing.length === 0) {
            proceed()
            return
        }
        mPendingSave = proceed
        mPictureQuestionId = mMessageBoxManager.showMessage(
                    qsTr("询问"), qsTr("以下图片已找不到：") + "\n" + missing.join("\n") + "\n"
                    + qsTr("不带这些图片继续保存吗？"), true, true, false, false)
        mMessageBoxManager.messageBoxShow(mPictureQuestionId)
    }
    function picturesAnswered(sId, goAhead) {
        if (sId === "" || sId !== mPictureQuestionId)
            return
        var proceed = mPendingSave
        mPictureQuestionId = ""
        mPendingSave = null
        if (!goAhead) {
            picturesDeclined()
            return
        }
        mProject.dropMissingPictures()
        proceed()
    }
    // The user's text for a failed save: `sText` and why, when the project knows.
    function failureText(sText) {
        var reason = mProject.getLastSaveError()
        return reason === "" ? sText : sText + "\n" + reason
    }
    function openDialog(sSaveFolderPath) {
        if (mBusy)
            return false
        mDialog = dialogComponent.createObject(mWindow.contentItem, {
                                                   "mProject": mProject,
                                                   "mMessageBoxManager": mMessageBoxManager,
                                                   "mInterface": mInterface,
                                                   "mTitle": mTitle,
                                                   "mSaveFolderPath": sSaveFolderPath
                                               })
        mDialog.open()
        return true
    }
    // packet: the dialog found that the target is a project (listed, or a packet's files only).
    function dialogAccepted(path, name, packet) {
        if (path === "" || name === "") {
            folderPath = ""
            finished(false, true)
            return
        }
        folderPath = path.endsWith("/") ? path + name : path + "/" + name
        if (packet || mInterface.folderHasEntries(folderPath)) {
            // A folder of other files keeps them: the save only adds the packet's own.
            var question = packet ? qsTr("项目存在，是否覆盖？") : qsTr("文件夹不为空，是否保存到此处？")
            mMessageBoxId = mMessageBoxManager.showMessage(qsTr("询问"), question, true, true, false, false)
            mMessageBoxManager.messageBoxShow(mMessageBoxId)
            return
        }
        finished(save(), false)
    }
    // Saves the open packet where it is (folderPath names it). A project file that another
    // program or instance changed since this one last read or wrote it is replaced only when the
    // user agrees, which the save is then told (the project refuses such a file otherwise);
    // finished(res, cancelled) follows either way (at once, or on the answer).
    function saveInPlace() {
        if (mProject.isProjectFileChangedOnDisk()) {
            mMessageBoxId = mMessageBoxManager.showMessage(qsTr("询问"), qsTr("项目文件已被其他程序修改，是否覆盖？"),
                                                           true, true, false, false)
            mMessageBoxManager.messageBoxShow(mMessageBoxId)
            return
        }
        finished(save(), false)
    }
    // Saves into folderPath; the real result of the write. overwrite: the user agreed to replace
    // what is there, also a project file that another program changed.
    function save(overwrite) {
        if (folderPath === "") {
            console.log(mEmptyPathLog)
            return false
        }
        var saved
        mSaving = true
        if (mInterface.isSamePath(folderPath, mProject.getProjectPacketPath())) {
            saved = mProject.saveProjectPacket(mProject.getProjectPacketPath(), overwrite === true)
        } else {
            saved = mProject.saveProjectPacket(folderPath, overwrite === true)
            if (saved)
                mProject.setProjectPacketPath(folderPath)
        }
        mSaving = false
        if (saved)
            mWindow.grabImage(mProject.getProjectThumbnail())
        return saved
    }
    // The project was replaced while the dialog or the question was open.
    function projectReplaced() {
        if (mSaving)
            return
        if (mDialog) {
            console.info("RCSaveFlow: the save dialog closes, its project was replaced")
            mDialog.close()
            mDialog = null
            dialogClosed()
        } else if (mMessageBoxId !== "") {
            console.info("RCSaveFlow: the overwrite question is withdrawn, its project was replaced")
            mMessageBoxManager.close(mMessageBoxId)
        } else if (mPictureQuestionId !== "") {
            console.info("RCSaveFlow: the missing-picture question is withdrawn, its project was replaced")
            mMessageBoxManager.close(mPictureQuestionId)
        }
    }
    function overwriteAnswered(sId, overwrite) {
        if (sId === "" || sId !== mMessageBoxId)
            return
        mMessageBoxId = ""
        finished(overwrite ? save(true) : false, !overwrite)
    }

    onMBusyChanged: {
        if (mWindow && mWindow.saveFlowOpenChanged)
            mWindow.saveFlowOpenChanged(mBusy)
    }
    Component.onDestruction: {
        if (mBusy && mWindow && mWindow.saveFlowOpenChanged)
            mWindow.saveFlowOpenChanged(false)
    }

    property Connections projectChanges: Connections {
        target: root.mProject
        function onCurrentProjectChanged() {
            root.projectReplaced()
        }
    }
    property Connections messages: Connections {
        target: root.mMessageBoxManager
        function onMessageBoxAccept(sId) {
            root.overwriteAnswered(sId, true)
            root.picturesAnswered(sId, true)
        }
        function onMessageBoxReject(sId) {
            root.overwriteAnswered(sId, false)
            root.picturesAnswered(sId, false)
        }
        function onMessageBoxOnlyClose(sId) {
            root.overwriteAnswered(sId, false)
            root.picturesAnswered(sId, false)
        }
    }
    property Component dialogComponent: Component {
        RCDialogSaveProject {
            onAccepted: (path, name, packet) => root.dialogAccepted(path, name, packet)
            onRejected: root.dialogClosed()
            onClosed: {
                root.mDialog = null
                destroy()
            }
        }
    }
}
