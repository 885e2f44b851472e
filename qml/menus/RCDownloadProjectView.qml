import QtQuick
import "../common"
import Rc.IRCAction
import Rc.IRCInterface
import Rc.IRCProject 1.0
import Rc.IRCStelvaneSyncer 1.0

// The body of the download popup: asks the media server for its project and waits for the answer
// to the latest request. The server's answer has already added its scene of generated controls
// to the open document; the project then moves to a new packet named after the server's project
// (cut to one safe folder name). Unsaved changes are offered for saving before the request goes
// out. Without a link to the server, or when no answer comes in time, the view says so.
//
// A request is given up when no answer comes in time, when the view is reset or its popup
// closed, when a question or dialog about the open document opens (the window's mDocumentBusy)
// and when another project replaces the open one: the mirror then forgets its number, so that an
// answer arriving later is dropped (and logged) and never changes the document.
//
// mDownloadState: 0 idle, 1 downloading, 2 done, 3 failed (mText says why).
Item {
    id: root

    property int mDownloadState: -1
    property string mText: ""
    property bool mEnableDownload: true
    property int mDownloadUid: 0
    property IRCProject mProject: null
    property IRCStelvaneSyncer mStelvaneSyncer: null
    // The main window, which asks about unsaved changes; the name checks.
    property var mWindow: null
    property IRCInterface mInterface: null
    property int mTimeoutMs: 10000
    // While the answer is applied: the project changes because of it.
    property bool mApplying: false

    signal sig_downloadComplete
    signal sig_cancel

    function restore() {
        giveUp("")
        setState(-1)
        setState(0)
    }
    function setState(state) {
        mDownloadState = state
        answerTimer.stop()
        if (state === 0) {
            mText = qsTr("空闲")
            mEnableDownload = true
        } else if (state === 1) {
            mText = qsTr("下载中")
            mEnableDownload = false
            request()
        } else if (state === 2) {
            mText = qsTr("下载完成")
            mEnableDownload = true
            sig_downloadComplete()
        }
    }
    // Gives up the request that is out, if any, and says why (sText).
    function giveUp(sText) {
        if (mDownloadState !== 1)
            return
        if (mStelvaneSyncer)
            mStelvaneSyncer.dropProjectRequest(mDownloadUid)
        console.warn("RCDownloadProjectView: download", mDownloadUid, "given up:", sText)
        fail(sText)
    }
    function fail(sText) {
        mDownloadState = 3
        answerTimer.stop()
        mText = sText
        mEnableDownload = true
    }
    function request() {
        mDownloadUid += 1
        var manager = mProject.getActionManager()
        if (!manager || !mProject.isConnectFromHost()
                || manager.execAction(null, null, IRCAction.EActionType_DownloadProject, mDownloadUid) !== 0) {
            fail(qsTr("未连接服务器，无法下载"))
            return
        }
        answerTimer.restart()
    }
    // "下载": unsaved changes are offered for saving first.
    function download() {
        if (!mEnableDownload || (mWindow && mWindow.mDocumentBusy))
            return
        if (!mWindow.checkNeedSaveProject(root))
            setState(1)
    }
    function saveSettled(proceed) {
        if (proceed)
            setState(1)
    }
    function projectAnswered(setUid, jsObj) {
        if (mDownloadState !== 1 || setUid !== mDownloadUid)
            return
        var name = mInterface.safeProjectName(
jsObj["name"] === undefined ? "" : String(jsObj["name"]))
        if (name === "") {
            fail(qsTr("项目名称无效，无法保存"))
            return
        }
        mApplying = true
        mProject.setProjectPacketPath(mProject.getNewProjectPacketPath() + "/" + name)
        var applied = mProject.setProject(jsObj)
        mApplying = false
        if (!applied) {
            fail(qsTr("下载失败"))
            return
        }
        setState(2)
    }

    onMProjectChanged: mStelvaneSyncer = mProject ? mProject.getStelvaneSyncer() : null

    Connections {
        target: root.mStelvaneSyncer
        function onProjectSet(setUid, jsObj) {
            root.projectAnswered(setUid, jsObj)
        }
        function onDisconnectFromServer() {
            root.giveUp(qsTr("与服务器的连接已断开"))
        }
    }
    Connections {
        target: root.mWindow
        ignoreUnknownSignals: true
        function onMDocumentBusyChanged() {
            if (root.mWindow.mDocumentBusy)
                root.giveUp(qsTr("项目有待回答的问题，下载已取消"))
        }
    }
    Connections {
        target: root.mProject
        ignoreUnknownSignals: true
        function onCurrentProjectChanged() {
            if (!root.mApplying)
                root.giveUp(qsTr("项目已更换，下载已取消"))
        }
    }
    Timer {
        id: answerTimer
        interval: root.mTimeoutMs
        onTriggered: root.giveUp(qsTr("服务器没有回应，下载超时"))
    }

    RCText {
        objectName: "downloadStateText"
        anchors.horizontalCenter: parent.horizontalCenter
        y: 30 * RCUnits.dp
        width: parent.width - 20 * RCUnits.dp
        horizontalAlignment: Text.AlignHCenter
        wrapMode: Text.Wrap
        text: root.mText
        color: "white"
        font.bold: true
        font.pixelSize: 18 * RCUnits.dp
    }
    Row {
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 10 * RCUnits.dp
        spacing: 10 * RCUnits.dp

        RCDialogButton {
            objectName: "downloadButton"
            enabled: root.mEnableDownload
            text: qsTr("下载")
            onClicked: root.download()
        }
        RCDialogButton {
            objectName: "cancelButton"
            text: root.mDownloadState === 2 ? qsTr("关闭") : qsTr("取消")
            onClicked: root.sig_cancel()
        }
    }
}
