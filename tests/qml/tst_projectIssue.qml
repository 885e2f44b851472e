import QtQuick
import QtTest
import "qrc:/qml/projectIssue"

// The designer's install view against a scripted panel: while it is open the instance serves the
// packet instead of hearing invitations, on every way of closing it hears them again, and it shows
// only what happens to the address being issued.
RCTestMainWindow {
    id: mainWindow

    readonly property int invitationPort: 36548
    readonly property int detectPort: 36546

    RCProjectIssueViewDialog {
        id: dialog
        anchors.fill: parent
        mProject: project
        mWindow: mainWindow
    }

    TavixTestCase {
        name: "ProjectIssue"
        when: windowShown

        function openView() {
            dialog.open()
            tryCompare(dialog.mPopup, "opened", true)
            return dialog.view()
        }
        function serving() {
            return !distributionPeers.udpPortBound(invitationPort) && distributionPeers.udpPortBound(detectPort)
        }
        function hearing() {
            return distributionPeers.udpPortBound(invitationPort) && !distributionPeers.udpPortBound(detectPort)
        }
        // Types ip into the connect view and presses "安装".
        function issueTo(view, ip) {
            var field = findChild(child(view, "connectView"), "valueField")
            field.forceActiveFocus()
            field.selectAll()
            keyClick(Qt.Key_Delete)
            for (var i = 0; i < ip.length; ++i)
                keyClick(ip[i])
            mouseClick(findChild(child(view, "connectView"), "okButton"))
        }
        // Issues to 127.0.0.1 and plays the panel up to the start of the transfer.
        function startTransfer(view) {
            verify(distributionPeers.panelListen())
            issueTo(view, "127.0.0.1")
            compare(findChild(child(view, "connectView"), "okButton").text, "正在连接")
            verify(distributionPeers.panelWaitForInvitation() > 0, "the panel was invited")
            verify(distributionPeers.panelConnect())
            verify(distributionPeers.panelWaitFor("downloadKey"))
            distributionPeers.panelSend("download")
            tryCompare(view, "mVisibleViewName", "setupProgressView", 5000)
        }

        function initTestCase() {
            var packet = testSupport.tempPath() + "/issued"
            verify(project.saveProjectPacket(packet))
            verify(testSupport.writeFile(packet + "/image/big.png", 300000), "a packet that takes a while to send")
            verify(project.loadStorageProjectPacket(packet))
            tryVerify(hearing, 5000, "the instance hears invitations from the start")
        }
        function init() {
            distributionPeers.reset()
            dialog.close()
            tryVerify(hearing, 5000)
        }

        function test_connectView() {
            var view = openView()
            compare(view.mVisibleViewName, "connectView")
            var connect = child(view, "connectView")
            compare(connect.mTitle, "安装")
            compare(connect.mValueName, "目标IP:")
            compare(findChild(connect, "okButton").text, "安装")
            compare(findChild(connect, "cancelButton").text, "取消")
            compare([view.width, view.height], [300, 145])
            tryVerify(serving, 5000, "no invitations heard while the view is open")
        }

        function test_closePaths_data() {
            return [
                {tag: "cancel", view: "connectView", button: "cancelButton"},
                {tag: "connect cross", view: "connectView", button: "frameClose"},
                {tag: "progress close", view: "setupProgressView", button: "cancelButton"},
                {tag: "progress cross", view: "setupProgressView", button: "frameClose"},
                {tag: "complete close", view: "setupComplateView", button: "closeButton"},
                {tag: "complete cross", view: "setupComplateView", button: "headerClose"},
                {tag: "error close", view: "setupErrorView", button: "closeButton"},
                {tag: "error cross", view: "setupErrorView", button: "headerClose"}
            ]
        }
        function test_closePaths(data) {
            var view = openView()
            tryVerify(serving, 5000)
            view.mVisibleViewName = data.view
            mouseClick(findChild(child(view, data.view), data.button))
            compare(dialog.view(), null, "closed")
            tryVerify(hearing, 5000, "invitations are heard again")
        }

        function test_reopenKeepsServing() {
            openView()
            openView()
            wait(100)
            tryVerify(serving, 5000, "the dropped view does not stop the new one's server")
            dialog.close()
            tryVerify(hearing, 5000)
        }

        function test_targetAddress_data() {
            return [
                {tag: "empty", ip: "", valid: false},
                {tag: "three parts", ip: "10.0.0", valid: false},
                {tag: "part past 255", ip: "10.0.0.256", valid: false},
                {tag: "five parts", ip: "1.2.3.4.5", valid: false},
                {tag: "name", ip: "panel.local", valid: false},
                {tag: "leading zero", ip: "10.0.0.01", valid: false},
                {tag: "address", ip: "192.168.10.20", valid: true}
            ]
        }
        // An address that is not one is refused with a hint, and Escape closes the dialog.
        function test_targetAddress(data) {
            var view = openView()
            var connect = child(view, "connectView")
            if (data.valid) {
                connect.mValue = data.ip
                verify(view.isIpAddress(data.ip))
                return
            }
            issueTo(view, data.ip)
            verify(findChild(connect, "infoText").visible)
            compare(findChild(connect, "infoText").text, "IP地址格式错误")
            compare(findChild(connect, "okButton").text, "安装", "nothing issued")
            compare(view.mIssueIp, "")
            keyClick(Qt.Key_Escape)
            compare(dialog.view(), null, "Escape closes the dialog")
            tryVerify(hearing, 5000)
        }

        function test_wholePacket() {
            var view = openView()
            startTransfer(view)
            tryVerify(() => view.mComplateRate > 0, 5000)
            compare(child(view, "setupProgressView").mTitle, "安装进度")
            tryCompare(view, "mVisibleViewName", "setupComplateView", 30000)
            compare(view.mComplateRate, 1)
            compare(child(view, "setupComplateView").mMessage, "安装完成")
            compare(project.getProjectPacketPath(), testSupport.tempPath() + "/issued")
            distributionPeers.panelDrop()
            wait(200)
            compare(view.mVisibleViewName, "setupComplateView", "a panel leaving afterwards changes nothing")
        }

        function test_panelDropsMidway() {
            var view = openView()
            startTransfer(view)
            verify(distributionPeers.panelWaitForFile())
            distributionPeers.panelDrop()
            tryCompare(view, "mVisibleViewName", "setupErrorView", 5000)
            compare(child(view, "setupErrorView").mMessage, "安装失败\n面板断开了连接")
        }

        function test_otherPanelsIgnored() {
            var view = openView()
            verify(distributionPeers.panelListen())
            issueTo(view, "127.0.0.1")
            verify(distributionPeers.panelConnect("127.0.0.2"))
            distributionPeers.panelDrop()
            wait(300)
            compare(view.mVisibleViewName, "connectView", "a panel at 127.0.0.2 leaving does not count")
            verify(distributionPeers.panelConnect("127.0.0.1"))
            verify(distributionPeers.panelWaitFor("downloadKey"), "the issue still waits for 127.0.0.1")
        }

        function test_noPanelAnswers() {
            var view = openView()
            issueTo(view, "127.0.0.9")
            compare(view.mVisibleViewName, "connectView")
            tryCompare(view, "mVisibleViewName", "setupErrorView", 9000)
            compare(child(view, "setupErrorView").mMessage, "安装失败\n没有面板应答")
        }
    }
}
