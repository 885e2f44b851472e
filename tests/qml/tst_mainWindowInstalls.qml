import QtQuick
import QtTest

// The real main window and the packets a designer offers it: installs leave the start page, the
// installed packet is saved elsewhere, an invitation asks to save first.
RCTestMainWindow {
    id: mainWindow

    MainWindowTestCase {
        // A project opened on the panel's other roads counts as opened: an install or a
        // switch-project action into a window at the start page shows the layouts; a packet that
        // does not open keeps the start page.
        function test_openedElsewhereLeavesStartPage_data() {
            return [
                {tag: "install", via: "install", project: true, opened: true},
                {tag: "install without project file", via: "install", project: false, opened: false},
                {tag: "switch-project action", via: "switch", project: true, opened: true}
            ]
        }
        function test_openedElsewhereLeavesStartPage(data) {
            var folder = testSupport.makeFolder("安装")
            if (data.project)
                verify(project.saveProjectPacket(folder))
            else
                verify(testSupport.writeFile(folder + "/thumbnail.png", 3000))
            makeWindow()
            compare(win.mCurrentPanelName, "totalProjectManagerView")
            if (data.via === "install") {
                install(folder, data.opened)
            } else {
                project.switchProjectRequested(folder)
            }
            tryCompare(win, "mCurrentPanelName", data.opened ? "contentPanel" : "totalProjectManagerView")
        }

        // The packet installed from a designer lives in the folder that the next install replaces:
        // 保存 asks for a name (and refuses that folder), also as the save before the next install,
        // so that the work is kept where no install reaches.
        function test_saveOfTheInstalledProject_data() {
            return [
                {tag: "保存", via: "save"},
                {tag: "保存 before the next install", via: "install"}
            ]
        }
        function test_saveOfTheInstalledProject(data) {
            var packet = testSupport.makeFolder("设计师")
            verify(project.setProject({"sceneArray": {"sceneArray": [{"propertyArray": [{"name": "Name", "value": "安装的"}]}]}}))
            verify(project.saveProjectPacket(packet))
            makeWindow()
            install(packet, true)
            var installed = project.getProjectPacketPath()
            verify(installed.endsWith("/Tavix/downloadProject"), installed)
            change()
            if (data.via === "save") {
                win.saveEntry().triggered()
            } else {
                acceptInstall(offerPacket())
                answer(win.mIsSaveMessageBoxId, "okButton")
            }
            var dialog = win.mMenuSave.mFlow.mDialog
            verify(dialog, "a name is asked for")
            var name = findChild(dialog.contentItem, "nameField")
            name.text = installed.substring(installed.lastIndexOf("/") + 1)
            dialog.mFolder = installed.substring(0, installed.lastIndexOf("/"))
            verify(!dialog.save(), "not into the folder an install replaces")
            compare(lastMessage(), "不能保存到安装文件夹，下次安装会替换它，请选择其他保存路径")
            var kept = testSupport.makeFolder("保存处") + "/我的工作"
            name.text = "我的工作"
            dialog.mFolder = kept.substring(0, kept.lastIndexOf("/"))
            verify(dialog.save())
            compare(project.getProjectPacketPath(), kept)
            if (data.via === "install") {
                verify(distributionPeers.designerWaitFor("download"))
                verify(distributionPeers.designerSendPacket(packet))
                var view = findChild(win.contentItem, "projectDownloadDialog").view()
                tryCompare(view, "mVisibleViewName", "setupComplateView", 10000)
            }
            verify(testSupport.readText(kept + "/project.tavx").indexOf("改动") >= 0, "the work is kept")
        }

        function test_invitation() {
            makeWindow()
            openStored("邀请")
            logSpy.clear()
            win.mPacketTerminal.receiveDownloadInvitation("198.18.0.2")
            compare(logSpy.count, 1)
            compare(logSpy.signalArguments[0][0], "下载")
            var install = findChild(win.contentItem, "projectDownloadDialog")
            verify(install.mPopup, "the install question is up")
            change()
            install.saveBeforeInstall()
            answer(win.mIsSaveMessageBoxId, "closeButton")
            compare(install.mPopup, null, "giving up the save gives up the install")
        }
    }
}
