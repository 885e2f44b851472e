import QtQuick
import QtQuick.Dialogs
import QtQuick.Window
import Rc.IRCImageManager
import Rc.IRCInterface
import Rc.IRCProject
import Rc.RCMessageBoxManager
import Rc.CursorPosProvider 1.0
import Rc.IRCLog 1.0
import Rc.IRCPacketTerminal 1.0
import Rc.IRCTerminal 1.0
import Rc.RCWindowEventFilter 1.0
import Rc.TavixProjectCloudClient 1.0
import "../common"
import "../projectIssue"
import "../projectManagerPanel"

// The application's one window: frameless, with its own title bar, showing the project manager
// until a project is open and then the two mode layouts (edit and control), of which the mode
// picks one. It shows every message box of the message-box broker, asks whether to save before
// the window closes or another project replaces the open one, and reacts to project invitations
// and cloud join errors. The program's services come in as initial properties; the window hands
// each view inside it the services it uses, and itself (mWindow) for calDialogGeometry(),
// openInputDialog(), checkNeedSaveProject() and grabImage().
//
// The save question: at most one at a time (mIsSaveMessageBoxId). Its answer goes to whoever
// asked (mSaveQuestionClient, an object with saveSettled(bool proceed)); the window itself asks
// when it closes (no client). "保存" runs the edit layout's save entry (mMenuSave), whose result
// settles the question: a failed or cancelled save keeps everything open.
//
// While a question or dialog about the open document is pending (mDocumentBusy: the save
// question, the save it started, a save dialog of the menus with its overwrite question), what
// the user did not start does not touch the document: an invitation, or an accepted install,
// waits until nothing is pending; a switch-project request and an exit request are refused; a
// download from the media server gives up its request (RCDownloadProjectView). A question whose
// document was replaced all the same is withdrawn unanswered.
Window {
    id: mainWindow

    // The program's services, handed in by whoever makes the window.
    required property IRCProject mProject
    required property RCMessageBoxManager mMessageBoxManager
    required property IRCInterface mInterface
    required property IRCImageManager mImageManager
    // The cloud client, the log, the window event filter and the cursor position provider.
    required property TavixProjectCloudClient mCloudClient
    required property IRCLog mLog
    required property RCWindowEventFilter mWindowEventFilter
    required property CursorPosProvider mCursorPosition
    // The project file version the program writes.
    required property string mFileVersion
    // Both from the project as the window is made, so that a start straight into a project makes
    // neither the start page nor the layout of the other mode.
    property string mCurrentPanelName: mProject.getInitState() === 1 ? "contentPanel" : "totalProjectManagerView"
    property bool mInEditState: mProject.getAppModel() === IRCProject.EAppModel_Edit
    property string mProjectPath: ""
    property string mIsSaveMessageBoxId: ""
    property bool mIsClosing: false
    property bool mNeedCheckeSaveProject: true
    property IRCTerminal mTerminal: null
    property IRCPacketTerminal mPacketTerminal: mProject.getPacketTerminal()
    // The save entry of the edit layout's system menu, once that menu is made (saveEntry()).
    readonly property var mMenuSave: mContent && mContent.editPanel && mContent.editPanel.mMenu
                                     ? mContent.editPanel.mMenu.mSaveEntry : null
    // Who waits for the answer to the pending save question; null when the window asked it.
    property var mSaveQuestionClient: null
    // From "保存" on the save question until the save entry reports its result.
    property bool mSavePending: false
    property var mSaveClient: null
    // The content body (both layouts), made when it is first shown.
    readonly property Item mContent: contentLoader.item
    readonly property real mTitleBarHeight: titleBar.height
    // Made on the first cloud join error.
    property var mJoinErrorDialog: null
    // The dialogs of the broker's open boxes, by box id.
    readonly property alias mMessageDialogs: messageDialogs
    // The save flows of the menus whose dialog or overwrite question is open (saveFlowOpenChanged).
    property int mOpenSaveFlows: 0
    readonly property bool mDocumentBusy: mIsSaveMessageBoxId !== "" || mSavePending || mOpenSaveFlows > 0
    // An invitation, or an accepted install, that waits until the document is not busy.
    property bool mInvitationWaiting: false
    property bool mInstallWaiting: false

    flags: Qt.Window | Qt.FramelessWindowHint
    width: 1024 * RCUnits.dp
    height: 768 * RCUnits.dp
    visible: true
    color: "black"
    title: qsTr("Tavix Editor")

    // Centres a dialog (a popup of this window) in the window.
    function calDialogGeometry(dialog) {
        dialog.x = (mainWindow.width - dialog.width) / 2
        dialog.y = (mainWindow.height - dialog.height) / 2
    }
    function openInputDialog(sTitle, sPlaceholderText, sDefaultValue) {
        var dialog = inputDialogComponent.createObject(mainWindow.contentItem, {
                                                           "mValue": sDefaultValue,
                                                           "mPlaceholderText": sPlaceholderText,
                                                           "mTitle": sTitle
                                                       })
        dialog.open()
        return dialog
    }
    // Writes the control layout's picture to sPath. While the window is closing after a save, it
    // closes once the picture is written (or could not be). A hidden control layout shows its
    // scenes until the picture is taken.
    function grabImage(sPath) {
        var target = mContent ? controlLayout() : null
        if (target)
            target.mInPicture = true
        var started = target !== null && target.grabToImage(function (result) {
            target.mInPicture = false
            // Written whole or not at all: a full disk keeps the previous thumbnail and says so.
            var error = mInterface.writePng(result.image, sPath)
            if (error !== "") {
                console.warn("RCMainWindow: the thumbnail could not be written:", error)
                mMessageBoxManager.showMessage(qsTr("提示"), qsTr("缩略图保存失败") + "\n" + error, true, false)
            }
            mainWindow.closeIfClosing()
        })
        if (!started) {
            if (target)
                target.mInPicture = false
            console.warn("RCMainWindow: no thumbnail taken for", sPath)
            Qt.callLater(closeIfClosing)
        }
    }
    // The layouts, each made when it is first shown or needed (the edit layout's save entry, the
    // control layout's picture). They are loaded by name, so that the start page does not wait
    // for their files; the content body must be there.
    function controlLayout() {
        return makeLayout(mContent.controlLoader, "RCControlModelPanel.qml", "controlModelPanel")
    }
    function editLayout() {
        return makeLayout(mContent.editLoader, "RCEditModelPanel.qml", "editModelPanel")
    }
    function makeLayout(loader, sFile, sObjectName) {
        if (!loader.item) {
            loader.setSource(sFile, {
                                 "objectName": sObjectName,
                                 "mWindow": mainWindow,
                                 "mMessageBoxManager": mMessageBoxManager,
                                 "mInterface": mInterface,
                                 "mImageManager": mImageManager,
                                 "mCloudClient": mCloudClient,
                                 "mFileVersion": mFileVersion,
                                 "mProject": mProject
                             })
        }
        return loader.item
    }
    function makeShownLayout() {
        if (mInEditState)
            editLayout()
        else
            controlLayout()
    }
    // The edit layout's save entry, the layout and its menu made first when they were not yet.
    function saveEntry() {
        contentLoader.active = true
        editLayout().menu()
        return mMenuSave
    }
    // A save flow's dialog or overwrite question opened (true) or went (false).
    function saveFlowOpenChanged(open) {
        mOpenSaveFlows += open ? 1 : -1
    }
    // Runs what waited for the document's questions, once none is pending.
    function resumeArrivals() {
        if (mDocumentBusy)
            return
        if (mInstallWaiting) {
            mInstallWaiting = false
            askBeforeInstall()
        } else if (mInvitationWaiting) {
            mInvitationWaiting = false
            projectDownloadDialog.open()
        }
    }
    function invitationArrived() {
        mLog.output(qsTr("下载"))
        if (!mDocumentBusy) {
            projectDownloadDialog.open()
            return
        }
        // An install view that waits for this very question needs no second one.
        var view = projectDownloadDialog.view()
        mInvitationWaiting = !(view && view.mWaitingForSave)
        console.info("RCMainWindow: the invitation waits until the open document's question is answered")
    }
    // The user accepted an install: unsaved changes are offered for saving first.
    function askBeforeInstall() {
        if (!projectDownloadDialog.view())
            return
        if (mDocumentBusy) {
            mInstallWaiting = true
            return
        }
        if (!checkNeedSaveProject(installClient))
            installClient.saveSettled(true)
    }
    // "打开工程失败" and why, when the project knows.
    function openFailureText() {
        var reason = mProject.getLastOpenError()
        return reason === "" ? qsTr("打开工程失败") : qsTr("打开工程失败") + "\n" + reason
    }
    function closeIfClosing() {
        if (mIsClosing)
            mainWindow.close()
    }
    // Asks whether to save the unsaved changes; true when the question is shown, and then the
    // client's saveSettled(proceed) follows its answer (proceed: saved, or the user chose not
    // to). False when there is nothing to save or a question or its save is already pending.
    function checkNeedSaveProject(client) {
        if (!mProject || !mProject.hasChangedOnClosing() || mIsSaveMessageBoxId !== "" || mSavePending)
            return false
        mSaveQuestionClient = client === undefined ? null : client
        mIsSaveMessageBoxId = mMessageBoxManager.showMessage(qsTr("询问"), qsTr("是否保存"), true, true, true, false)
        mMessageBoxManager.messageBoxShow(mIsSaveMessageBoxId)
        return true
    }
    // answer: 1 "保存", 0 "不保存", -1 "取消" or the cross.
    function saveQuestionAnswered(answer) {
        var client = mSaveQuestionClient
        mSaveQuestionClient = null
        mIsSaveMessageBoxId = ""
        if (answer === 1) {
            var entry = saveEntry()
            mSavePending = true
            mSaveClient = client
            entry.triggered()
        } else if (answer === 0) {
            if (client) {
                client.saveSettled(true)
            } else if (mIsClosing) {
                mNeedCheckeSaveProject = false
                mainWindow.close()
            }
        } else {
            mIsClosing = false
            if (client)
                client.saveSettled(false)
        }
    }
    function saveFinished(res) {
        if (!mSavePending)
            return
        mSavePending = false
        var client = mSaveClient
        mSaveClient = null
        if (client)
            client.saveSettled(res)
        else if (!res)
            mIsClosing = false
        // A successful save from the close question closes once its thumbnail is written.
    }
    function showMessageDialog(sId) {
        if (messageDialogs.hasKey(sId))
            return
        var dialog = messageDialogComponent.createObject(mainWindow.contentItem, {
                                                             "mId": sId,
                                                             "title": mMessageBoxManager.getTitle(sId),
                                                             "text": mMessageBoxManager.getText(sId),
                                                             "okButtonVisible": mMessageBoxManager.okButtonIsVisible(sId),
                                                             "cancelButtonVisible": mMessageBoxManager.cancelButtonIsVisible(sId),
                                                             "closeButtonVisible": mMessageBoxManager.closeButtonIsVisible(sId)
                                                         })
        if (sId === mIsSaveMessageBoxId)
            dialog.setButtonText(qsTr("保存"), qsTr("不保存"), qsTr("取消"))
        dialog.accepted.connect(function () { mMessageBoxManager.accept(sId) })
        dialog.rejected.connect(function () { mMessageBoxManager.reject(sId) })
        dialog.onlyClosed.connect(function () { mMessageBoxManager.close(sId) })
        messageDialogs.insertValue(sId, dialog)
        dialog.open()
    }
    function messageAnswered(sId, answer) {
        messageDialogs.removeValue(sId)
        if (sId !== "" && sId === mIsSaveMessageBoxId)
            saveQuestionAnswered(answer)
    }
    // Opens the content body after a project was opened on the project manager page.
    function showContent() {
        mainWindow.showMaximized()
        mCurrentPanelName = "contentPanel"
    }
    // Another packet for the open project, asked by an action: the changes are offered for
    // saving first.
    function requestSwitchProject(sPacketPath) {
        if (mDocumentBusy) {
            console.info("RCMainWindow: project switch refused while a question about the open document is pending:",
                         sPacketPath)
            return
        }
        switchProjectClient.mPacketPath = sPacketPath
        if (!checkNeedSaveProject(switchProjectClient))
            switchProjectClient.saveSettled(true)
    }

    onClosing: close => {
        // The open question (or the save it started, or a save dialog) stays: a close request
        // neither asks again nor closes.
        if (mDocumentBusy) {
            console.info("RCMainWindow: close refused while a question about the open document is pending")
            close.accepted = false
            return
        }
        mIsClosing = true
        if (mNeedCheckeSaveProject && checkNeedSaveProject())
            close.accepted = false
    }

    onMDocumentBusyChanged: {
        if (!mDocumentBusy)
            Qt.callLater(resumeArrivals)
    }
    onMInEditStateChanged: {
        if (mContent)
            makeShownLayout()
    }
    Component.onCompleted: {
        mTerminal = mProject.getTerminal()
        mProjectPath = mProject.getProjectPacketPath()
        mWindowEventFilter.setWindow(mainWindow)
        // Boxes raised before the window existed.
        var pending = mMessageBoxManager.getShownMessageIds()
        for (var i = 0; i < pending.length; ++i)
            showMessageDialog(pending[i])
    }

    Connections {
        target: mainWindow.mProject
        function onAppModelChanged(appModel) {
            mainWindow.mInEditState = appModel === IRCProject.EAppModel_Edit
        }
        // Every road that opens a project (the start page, an install, a download, a
        // switch-project action) ends in this signal: the start page gives way to the layouts.
        function onCurrentProjectChanged(sProjectName) {
            // Its answer would act on another document than the one it asked about.
            if (mainWindow.mIsSaveMessageBoxId !== "") {
                console.info("RCMainWindow: the save question is withdrawn, its project was replaced")
                mainWindow.mMessageBoxManager.close(mainWindow.mIsSaveMessageBoxId)
            }
            mainWindow.mProjectPath = mainWindow.mProject.getProjectPacketPath()
            if (mainWindow.mCurrentPanelName === "totalProjectManagerView")
                mainWindow.showContent()
        }
    }
    // Asked by the actions (an exit button, a script, a project switch): the same roads as the
    // window's own close and the project manager.
    Connections {
        target: mainWindow.mProject
        function onCloseRequested() {
            mainWindow.close()
        }
        function onSwitchProjectRequested(sProjectPacketPath) {
            mainWindow.requestSwitchProject(sProjectPacketPath)
        }
    }
    Connections {
        target: mainWindow.mMessageBoxManager
        function onMessageBoxShow(sId) {
            mainWindow.showMessageDialog(sId)
        }
        function onMessageBoxAccept(sId) {
            mainWindow.messageAnswered(sId, 1)
        }
        function onMessageBoxReject(sId) {
            mainWindow.messageAnswered(sId, 0)
        }
        function onMessageBoxOnlyClose(sId) {
            mainWindow.messageAnswered(sId, -1)
        }
    }
    Connections {
        target: mainWindow.mMenuSave
        function onSig_saveResult(res) {
            mainWindow.saveFinished(res)
        }
    }
    Connections {
        target: mainWindow.mPacketTerminal
        function onReceiveDownloadInvitation(sIp) {
            mainWindow.invitationArrived()
        }
        function onServerDisconnected() {
            mainWindow.mInvitationWaiting = false
        }
    }
    Connections {
        target: mainWindow.mCloudClient
        function onJoinError(error) {
            if (!mainWindow.mJoinErrorDialog)
                mainWindow.mJoinErrorDialog = joinErrorDialogComponent.createObject(mainWindow)
            mainWindow.mJoinErrorDialog.informativeText = error
            mainWindow.mJoinErrorDialog.open()
        }
    }

    // Accepting an invitation replaces the open project: its changes are offered for saving first.
    RCProjectDownloadDialog {
        id: projectDownloadDialog
        objectName: "projectDownloadDialog"
        mProject: mainWindow.mProject
        onSaveBeforeInstall: mainWindow.askBeforeInstall()
    }
    QtObject {
        id: installClient

        function saveSettled(proceed) {
            if (proceed)
                projectDownloadDialog.proceedInstall()
            else
                projectDownloadDialog.close()
        }
    }
    QtObject {
        id: switchProjectClient

        property string mPacketPath: ""

        function saveSettled(proceed) {
            if (!proceed)
                return
            if (mainWindow.mProject.loadStorageProjectPacket(mPacketPath))
                mainWindow.showContent()
            else
                mainWindow.mMessageBoxManager.showMessage(qsTr("提示"), mainWindow.openFailureText(), true, false)
        }
    }
    RCMap {
        id: messageDialogs
    }
    Component {
        id: messageDialogComponent

        RCMessageDialog {}
    }
    Component {
        id: inputDialogComponent

        RCInputDialog {
            onClosed: destroy()
        }
    }
    Component {
        id: joinErrorDialogComponent

        MessageDialog {
            modality: Qt.WindowModal
            title: qsTr("加入项目失败")
            text: qsTr("未知错误")
            buttons: MessageDialog.Ok
        }
    }
    Shortcut {
        // The standard save key of the desktops the panel runs on.
        sequence: "Ctrl+S"
        enabled: mainWindow.mCurrentPanelName === "contentPanel"
        onActivated: mainWindow.saveEntry().triggered()
    }

    RCTitleBar {
        id: titleBar
        objectName: "titleBar"
        mWindow: mainWindow
        mProjectPath: mainWindow.mProjectPath
        mCursorPosition: mainWindow.mCursorPosition
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
    }
    Item {
        id: body
        objectName: "body"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: titleBar.bottom
        anchors.bottom: parent.bottom

        Rectangle {
            objectName: "totalProjectManagerView"
            anchors.fill: parent
            color: "black"
            visible: mainWindow.mCurrentPanelName === "totalProjectManagerView"

            Loader {
                id: managerLoader
                anchors.fill: parent
                active: parent.visible
                sourceComponent: RCProjectManagerViewTotal {
                    objectName: "projectManagerViewTotal"
                }
                // The page is handed the window and its services once made, then filled.
                onLoaded: {
                    item.mWindow = mainWindow
                    item.mMessageBoxManager = mainWindow.mMessageBoxManager
                    item.mInterface = mainWindow.mInterface
                    item.mFileVersion = mainWindow.mFileVersion
                    item.mProject = mainWindow.mProject
                    item.sig_successOpenProject.connect(mainWindow.showContent)
                    item.flushProjectManagerView()
                }
            }
        }
        Loader {
            id: contentLoader
            objectName: "contentPanel"
            anchors.fill: parent
            visible: mainWindow.mCurrentPanelName === "contentPanel"
            active: visible
            sourceComponent: Item {
                id: content

                readonly property alias controlLoader: controlLoader
                readonly property alias editLoader: editLoader
                readonly property Item controlPanel: controlLoader.item
                readonly property Item editPanel: editLoader.item
                // Handed in by the window once the body is made.
                property bool mInEditState: true

                Loader {
                    id: controlLoader
                    anchors.fill: parent
                    visible: !content.mInEditState
                }
                Loader {
                    id: editLoader
                    anchors.fill: parent
                    visible: content.mInEditState
                }
            }
            // Once made, the body stays for the rest of the run; the layout of the mode shown is
            // made with it. On a start straight into a project that happens while the window is
            // made, before its Connections are connected: a layout signals nothing to the window
            // as it is made.
            onLoaded: {
                active = true
                item.mInEditState = Qt.binding(function () { return mainWindow.mInEditState })
                mainWindow.makeShownLayout()
            }
        }
    }
}
