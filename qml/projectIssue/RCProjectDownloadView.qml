import QtQuick
import "../common"
import Rc.IRCPacketTerminal 1.0
import Rc.IRCProject 1.0

// Installing a project that a designer offers (the panel's side): asks "允许安装？", then shows the
// reception, opens the received project and shows the result: "安装完成" only when the project
// opened, "安装失败" with the reason when the reception broke off or the packet could not be
// opened.
//
// A link that ends before the user accepted (the designer withdrew its offer) shows no failure:
// the view emits sig_withdrawn() and lets the link go without ending it again.
//
// Accepting while the open project has unsaved changes first emits sig_saveBeforeInstall() and
// waits: whoever asks the user about saving calls proceedInstall() to go on (or closes the view).
// reset() turns the view back to the question for a new invitation. release() ends the link to the
// designer once; the holder calls it on closing, and destruction calls it in any case.
Item {
    id: root

    property string mVisibleViewName: "setupConfirmView"
    property real mComplateRate: 0
    property IRCProject mProject: null
    property IRCPacketTerminal mPacketTerminal: mProject ? mProject.getPacketTerminal() : null
    // Accepted, waiting for proceedInstall() after the question about unsaved changes.
    property bool mWaitingForSave: false
    // The user accepted the current offer: download() went to the terminal.
    property bool mAccepted: false
    property bool mReleased: false
    // Why the install failed, shown under "安装失败"; the terminal's reason for breaking the
    // reception off, kept until the link ends.
    property string mErrorReason: ""
    readonly property Item mCurrentView: viewOf(mVisibleViewName)

    signal sig_close
    signal sig_saveBeforeInstall
    signal sig_withdrawn

    implicitWidth: mCurrentView ? mCurrentView.width : 0
    implicitHeight: mCurrentView ? mCurrentView.height : 0

    function viewOf(name) {
        switch (name) {
        case "setupConfirmView": return confirmView
        case "setupProgressView": return progressView
        case "openProjectView": return openProjectView
        case "setupComplateView": return complateView
        case "setupErrorView": return errorView
        }
        return null
    }
    function accept() {
        if (mWaitingForSave)
            return
        if (mProject && mProject.hasChangedOnClosing()) {
            mWaitingForSave = true
            sig_saveBeforeInstall()
            return
        }
        proceedInstall()
    }
    // Accepts the invitation: the designer starts sending. The view stays until reception begins.
    function proceedInstall() {
        mWaitingForSave = false
        if (mPacketTerminal && mVisibleViewName === "setupConfirmView") {
            mAccepted = true
            mPacketTerminal.download()
        }
    }
    function reset() {
        openTimer.stop()
        mErrorReason = ""
        mWaitingForSave = false
        mAccepted = false
        mComplateRate = 0
        mVisibleViewName = "setupConfirmView"
    }
    function openProject() {
        var opened = mProject ? mProject.loadDownloadProjectPacket() : false
        if (!opened)
            mErrorReason = mProject ? mProject.getLastOpenError() : ""
        mVisibleViewName = opened ? "setupComplateView" : "setupErrorView"
    }
    function faultText(fault) {
        switch (fault) {
        case IRCPacketTerminal.EReceiveFault_NoSpace: return qsTr("磁盘空间不足")
        case IRCPacketTerminal.EReceiveFault_WriteFailed: return qsTr("无法写入接收的文件")
        }
        return qsTr("收到的数据有误")
    }
    function release() {
        if (mReleased)
            return
        mReleased = true
        openTimer.stop()
        if (mPacketTerminal)
            mPacketTerminal.stopReceive()
    }

    Component.onDestruction: release()

    // Opens the received project once "等待项目打开中..." has had a moment to show.
    Timer {
        id: openTimer
        interval: 50
        onTriggered: root.openProject()
    }
    Connections {
        target: root.mReleased ? null : root.mPacketTerminal

        function onReceiveBegin() {
            root.mComplateRate = 0
            root.mVisibleViewName = "setupProgressView"
        }
        function onReceiveProcess(rate) {
            root.mComplateRate = rate
        }
        function onReceiveComplate() {
            root.mVisibleViewName = "openProjectView"
            openTimer.start()
        }
        function onReceiveFailed(fault) {
            root.mErrorReason = root.faultText(fault)
        }
        function onServerDisconnected() {
            if (root.mVisibleViewName === "openProjectView" || root.mVisibleViewName === "setupComplateView")
                return
            if (root.mVisibleViewName === "setupConfirmView" && !root.mAccepted && !root.mWaitingForSave) {
                // The link is gone already; a later one must not be ended on this view's behalf.
                root.mReleased = true
                openTimer.stop()
                root.sig_withdrawn()
                return
            }
            if (root.mErrorReason === "")
                root.mErrorReason = qsTr("与设计端的连接已断开")
            root.mVisibleViewName = "setupErrorView"
        }
    }

    RCMessageView {
        id: confirmView
        objectName: "setupConfirmView"
        visible: root.mVisibleViewName === "setupConfirmView"
        mTitle: qsTr("安装提示")
        mMessage: qsTr("允许安装？")
        mOkButtonText: qsTr("确定")
        mCancelButtonText: qsTr("取消")
        mOkButtonEnable: !root.mWaitingForSave
        onSig_accpet: root.accept()
        onSig_cancel: root.sig_close()
        onSig_close: root.sig_close()
    }
    RCProgressView {
        id: progressView
        objectName: "setupProgressView"
        visible: root.mVisibleViewName === "setupProgressView"
        mTitle: qsTr("进度")
        mCancelButtonText: qsTr("关闭")
        mValue: root.mComplateRate * 100
        onSig_cancel: root.sig_close()
    }
    RCMessageView {
        id: openProjectView
        objectName: "openProjectView"
        visible: root.mVisibleViewName === "openProjectView"
        mTitle: qsTr("提示")
        mMessage: qsTr("等待项目打开中...")
        mOkButtonVisible: false
        mCancelButtonVisible: false
        mCloseButtonVisible: false
    }
    RCMessageView {
        id: complateView
        objectName: "setupComplateView"
        visible: root.mVisibleViewName === "setupComplateView"
        mTitle: qsTr("提示")
        mMessage: qsTr("安装完成")
        mOkButtonVisible: false
        mCancelButtonVisible: false
        mCloseButtonVisible: true
        onSig_close: root.sig_close()
    }
    RCMessageView {
        id: errorView
        objectName: "setupErrorView"
        visible: root.mVisibleViewName === "setupErrorView"
        mTitle: qsTr("提示")
        mMessage: root.mErrorReason === "" ? qsTr("安装失败") : qsTr("安装失败") + "\n" + root.mErrorReason
        mOkButtonVisible: false
        mCancelButtonVisible: false
        mCloseButtonVisible: true
        onSig_close: root.sig_close()
    }
}
