import QtQuick
import "../common"
import Rc.IRCPacketServer 1.0
import Rc.IRCPacketTerminal 1.0
import Rc.IRCProject 1.0

// Installing the open project on another panel (the designer's side): the target panel's IP
// address, then the progress of sending the packet, then its result. While the view exists this
// instance is a distribution server and accepts no invitations itself: it stops its packet
// terminal and starts the packet server when made, and reverses that once, in release(), which
// its holder calls on closing (and destruction calls in any case).
//
// Only the server's reports about the address being issued count; "安装完成" shows only after the
// whole packet went out, and a panel that never connects ends in "安装失败" with "没有面板应答".
// Every failure says why; an address that is not an IPv4 address is refused with a hint. Escape
// closes the view as its cancel and close buttons do.
Item {
    id: root

    property string mVisibleViewName: "connectView"
    property real mComplateRate: 0
    property IRCProject mProject: null
    property IRCPacketServer mPacketServer: mProject ? mProject.getPacketServer() : null
    property IRCPacketTerminal mPacketTerminal: mProject ? mProject.getPacketTerminal() : null
    // The address being issued, "" before the first OK.
    property string mIssueIp: ""
    property bool mReleased: false
    // Why the install failed, shown under "安装失败".
    property string mErrorReason: ""
    readonly property Item mCurrentView: viewOf(mVisibleViewName)

    signal sig_close

    implicitWidth: mCurrentView ? mCurrentView.width : 0
    implicitHeight: mCurrentView ? mCurrentView.height : 0

    function viewOf(name) {
        switch (name) {
        case "connectView": return connectView
        case "setupProgressView": return progressView
        case "setupComplateView": return complateView
        case "setupErrorView": return errorView
        }
        return null
    }
    // Whether text is a dotted IPv4 address, each part 0 to 255 without leading zeros.
    function isIpAddress(text) {
        return /^((25[0-5]|2[0-4][0-9]|1[0-9][0-9]|[1-9]?[0-9])\.){3}(25[0-5]|2[0-4][0-9]|1[0-9][0-9]|[1-9]?[0-9])$/.test(text)
    }
    function issue() {
        var ip = connectView.mValue.trim()
        if (!isIpAddress(ip)) {
            connectView.mInfoText = qsTr("IP地址格式错误")
            return
        }
        if (!mPacketServer)
            return
        mIssueIp = ip
        connectView.mOkButtonText = qsTr("正在连接")
        mPacketServer.issue(ip, mProject.getProjectPacketPath())
    }
    function isIssued(sIp) {
        return mIssueIp !== "" && sIp === mIssueIp
    }
    function showError(sReason) {
        mErrorReason = sReason
        mVisibleViewName = "setupErrorView"
    }
    function focusInput() {
        connectView.focusValue()
    }
    // Gives the instance back its packet terminal; only the first call does anything.
    function release() {
        if (mReleased)
            return
        mReleased = true
        if (mPacketServer)
            mPacketServer.stopServer()
        if (mPacketTerminal)
            mPacketTerminal.startServer()
    }

    Component.onCompleted: {
        if (mPacketTerminal)
            mPacketTerminal.stopServer()
        if (mPacketServer)
            mPacketServer.startServer()
    }
    Component.onDestruction: release()
    Keys.onEscapePressed: sig_close()

    Connections {
        target: root.mReleased ? null : root.mPacketServer

        function onIssueBegin(sIp) {
            if (root.isIssued(sIp))
                root.mVisibleViewName = "setupProgressView"
        }
        function onIssueProcessing(sIp, rate) {
            if (root.isIssued(sIp))
                root.mComplateRate = rate
        }
        function onIssueComplate(sIp) {
            if (root.isIssued(sIp))
                root.mVisibleViewName = "setupComplateView"
        }
        function onIssueError(sIp, sErrorFilePath) {
            if (root.isIssued(sIp))
                root.showError(sErrorFilePath === "" ? "" : qsTr("无法发送 %1").arg(sErrorFilePath))
        }
        function onIssueStop(sIp) {
            if (root.isIssued(sIp))
                root.showError(qsTr("发送被中止"))
        }
        function onConnectBreak(sIp) {
            if (root.isIssued(sIp) && root.mVisibleViewName !== "setupComplateView")
                root.showError(qsTr("面板断开了连接"))
        }
        function onConnectTimeout(sIp) {
            if (root.isIssued(sIp) && root.mVisibleViewName === "connectView")
                root.showError(qsTr("没有面板应答"))
        }
    }

    RCInputView {
        id: connectView
        objectName: "connectView"
        visible: root.mVisibleViewName === "connectView"
        mTitle: qsTr("安装")
        mValueName: qsTr("目标IP:")
        mValue: root.mPacketServer ? root.mPacketServer.getOldIssuIp() : ""
        mOkButtonText: qsTr("安装")
        mCancelButtonText: qsTr("取消")
        onSig_accpet: root.issue()
        onSig_cancel: root.sig_close()
    }
    RCProgressView {
        id: progressView
        objectName: "setupProgressView"
        visible: root.mVisibleViewName === "setupProgressView"
        mTitle: qsTr("安装进度")
        mCancelButtonText: qsTr("关闭")
        mValue: root.mComplateRate * 100
        onSig_cancel: root.sig_close()
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
