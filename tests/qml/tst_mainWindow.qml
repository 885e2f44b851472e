import QtQuick
import QtTest

// The real main window: its start page, its message boxes, the save question on closing and
// before the project manager or another project replaces the open one, the title panels and the
// undo and redo buttons.
RCTestMainWindow {
    id: mainWindow

    readonly property var messages: getRCMessageBoxManager
    readonly property var scenes: project.getScenePresenter()

    SignalSpy {
        id: logSpy
        target: rcLog
        signalName: "logWrite"
    }
    SignalSpy {
        id: rejectSpy
        target: getRCMessageBoxManager
        signalName: "messageBoxReject"
    }

    TestCase {
        name: "MainWindow"
        when: windowShown

        property var win: null

        // The window gets a parent: a parentless window that the script engine collects can
        // corrupt the engine's heap (Qt 6.4).
        function makeWindow() {
            var component = Qt.createComponent("qrc:/qml/main/RCMainWindow.qml")
            compare(component.status, Component.Ready, component.errorString())
            win = component.createObject(mainWindow)
            verify(win)
            return win
        }
        // Opens a template in the window: a clean document whose packet is new.
        function openTemplate() {
            var page = findChild(win.contentItem, "projectManagerViewTotal")
            verify(page)
            verify(page.openTemplate("空模板"))
            compare(win.mCurrentPanelName, "contentPanel")
            verify(win.mContent)
            tryCompare(win.mContent, "width", win.width)
        }
        // A clean document saved in its own packet.
        function openStored(name) {
            if (win.mContent)
                verify(project.loadTemplateProjectPacket("空模板"))
            else
                openTemplate()
            var folder = testSupport.makeFolder(name)
            verify(project.saveProjectPacket(folder))
            project.setProjectPacketPath(folder)
            verify(!project.isNewProject())
            return folder
        }
        function change() {
            scenes.addScene("改动", "", "", true)
            verify(project.hasChangedOnClosing())
        }
        function dialogOf(sId) {
            var dialog = win.mMessageDialogs.getValue(sId)
            verify(dialog, "a dialog shows box " + sId)
            tryCompare(dialog, "opened", true)
            return dialog
        }
        // Answers the box with one of its buttons: "okButton", "cancelButton" or "closeButton".
        function answer(sId, button) {
            var dialog = dialogOf(sId)
            var item = findChild(dialog.contentItem, button)
            verify(item && item.visible, button)
            mouseClick(item)
            compare(win.mMessageDialogs.hasKey(sId), false, "the answered box's dialog is gone")
        }
        function askToClose() {
            win.close()
            verify(win.visible, "the window waits for the answer")
            verify(win.mIsSaveMessageBoxId !== "")
            return win.mIsSaveMessageBoxId
        }
        function lastMessageText() {
            var ids = messages.getShownMessageIds()
            return ids.length ? messages.getText(ids[ids.length - 1]) : ""
        }

        function cleanup() {
            if (win)
                win.destroy()
            win = null
            var ids = messages.getShownMessageIds()
            for (var i = 0; i < ids.length; ++i)
                messages.close(ids[i])
            project.loadTemplateProjectPacket("空模板")
        }

        function test_startPageAndEarlyBoxes() {
            var early = messages.showMessage("提示", "启动前的消息", true, false)
            makeWindow()
            compare(win.title, "Tavix Editor")
            compare(win.width, 1024)
            compare(win.height, 768)
            compare(win.mCurrentPanelName, "totalProjectManagerView")
            compare(win.mContent, null, "the layouts are made when first shown")
            compare(dialogOf(early).text, "启动前的消息")
            answer(early, "okButton")
            openTemplate()
            compare(findChild(win.contentItem, "projectPath").text, project.getProjectPacketPath())
        }

        function test_messageBoxes() {
            makeWindow()
            var ids = [messages.showMessage("一", "甲"), messages.showMessage("二", "乙", true, true, true)]
            compare(dialogOf(ids[0]).title, "一")
            var second = dialogOf(ids[1])
            compare(findChild(second.contentItem, "closeButton").visible, true)
            rejectSpy.clear()
            answer(ids[1], "cancelButton")
            compare(rejectSpy.count, 1)
            compare(rejectSpy.signalArguments[0][0], ids[1])
            answer(ids[0], "okButton")
        }

        function test_close_data() {
            return [
                {tag: "no changes closes at once", stored: true, change: false, answers: [], closed: true},
                {tag: "不保存 closes", stored: true, change: true, answers: ["cancelButton"], closed: true},
                {tag: "取消 keeps the window", stored: true, change: true, answers: ["closeButton"], closed: false},
                {tag: "保存 saves, then closes", stored: true, change: true, answers: ["okButton"], closed: true, saved: true},
                {tag: "保存 of a new project asks for a name", stored: false, change: true, answers: ["okButton"], closed: false, dialog: true}
            ]
        }
        function test_close(data) {
            makeWindow()
            var folder = data.stored ? openStored("关闭") : ""
            if (!data.stored)
                openTemplate()
            var before = data.stored ? testSupport.readText(folder + "/project.tavx") : ""
            if (data.change)
                change()
            win.close()
            for (var i = 0; i < data.answers.length; ++i) {
                var question = win.mIsSaveMessageBoxId
                verify(question !== "")
                var dialog = dialogOf(question)
                compare(findChild(dialog.contentItem, "okButton").text, "保存")
                compare(findChild(dialog.contentItem, "cancelButton").text, "不保存")
                compare(findChild(dialog.contentItem, "closeButton").text, "取消")
                answer(question, data.answers[i])
            }
            tryCompare(win, "visible", !data.closed)
            compare(win.mIsSaveMessageBoxId, "")
            if (data.stored && !data.saved)
                compare(testSupport.readText(folder + "/project.tavx"), before, "nothing written")
            if (data.saved) {
                verify(testSupport.readText(folder + "/project.tavx").indexOf("改动") >= 0)
                verify(testSupport.isDrawnImage(folder + "/thumbnail.png"), "the thumbnail shows the layout")
            }
            if (data.dialog) {
                var flow = win.mMenuSave.mFlow
                verify(flow.mDialog, "the save dialog is open")
                verify(win.mIsClosing)
                win.close()
                verify(win.visible, "a close while the save dialog is open does nothing")
                mouseClick(findChild(flow.mDialog.contentItem, "headerClose"))
                compare(flow.mDialog, null)
                compare(win.mIsClosing, false, "giving up the save ends the closing")
                verify(project.hasChangedOnClosing())
            }
            if (!data.closed && !data.dialog) {
                compare(win.mIsClosing, false)
                askToClose()
            }
        }

        function test_secondCloseKeepsTheQuestion() {
            makeWindow()
            openStored("二次关闭")
            change()
            var question = askToClose()
            win.close()
            verify(win.visible)
            compare(win.mIsSaveMessageBoxId, question)
            compare(messages.getShownMessageIds().length, 1, "no second question")
        }

        function test_failedSaveKeepsTheWindow() {
            makeWindow()
            openTemplate()
            // A packet whose project file cannot be replaced.
            var folder = testSupport.makeFolder("坏包")
            verify(testSupport.writeText(folder + "/project.tavx/blocker", ""))
            project.setProjectPacketPath(folder)
            change()
            answer(askToClose(), "okButton")
            verify(win.visible)
            compare(win.mIsClosing, false)
            compare(lastMessageText(), "保存失败")
        }

        function test_projectManagerAfterTheQuestion_data() {
            return [
                {tag: "取消", button: "closeButton", opens: false},
                {tag: "不保存", button: "cancelButton", opens: true},
                {tag: "保存", button: "okButton", opens: true},
                {tag: "保存 fails", button: "okButton", broken: true, opens: false}
            ]
        }
        function test_projectManagerAfterTheQuestion(data) {
            makeWindow()
            openStored("管理器")
            if (data.broken) {
                var folder = testSupport.makeFolder("坏包")
                verify(testSupport.writeText(folder + "/project.tavx/blocker", ""))
                project.setProjectPacketPath(folder)
            }
            change()
            var entry = win.mContent.editPanel.mMenu.mProjectManagerEntry
            entry.triggered()
            verify(entry.mNeedFocusSaveResult)
            answer(win.mIsSaveMessageBoxId, data.button)
            compare(entry.mNeedFocusSaveResult, false, "the question is settled")
            compare(entry.mOverlay !== null, data.opens)
            if (entry.mOverlay)
                entry.mOverlay.close()
        }

        function test_switchProject_data() {
            return [
                {tag: "不保存 opens it", button: "cancelButton", switched: true},
                {tag: "取消 keeps the open project", button: "closeButton", switched: false}
            ]
        }
        function test_switchProject(data) {
            makeWindow()
            var target = openStored("目标")
            var current = openStored("当前")
            change()
            win.requestSwitchProject(target)
            answer(win.mIsSaveMessageBoxId, data.button)
            compare(project.getProjectPacketPath(), data.switched ? target : current)
        }

        function test_titlePanels() {
            makeWindow()
            openTemplate()
            var editTitle = findChild(win.mContent.editPanel, "editTitlePanel")
            var controlTitle = findChild(win.mContent.controlPanel, "controlTitlePanel")
            var pill = findChild(editTitle, "connectionText")
            compare(pill.text, "未连接")
            compare(findChild(editTitle, "connectionPill").color, Qt.color("#aa0428"))
            compare(findChild(editTitle, "projectTitle").text, "空模板(项目:未加入)")
            var states = [[function () { stelvaneSyncer.connectedToServer("198.18.0.2") }, "加载中", "#2F4F4F"],
                          [function () { stelvaneSyncer.downloadComplate() }, "已连接", "#7caa33"],
                          [function () { stelvaneSyncer.disconnectFromServer() }, "未连接", "#aa0428"]]
            for (var i = 0; i < states.length; ++i) {
                states[i][0]()
                compare(pill.text, states[i][1])
                compare(findChild(editTitle, "connectionPill").color, Qt.color(states[i][2]))
            }
            stelvaneSyncer.connectVerifyAsk()
            verify(editTitle.mIpInputDlg && editTitle.mIpInputDlg.visible, "the shown layout asks")
            compare(controlTitle.mIpInputDlg, null, "the hidden layout does not")
            editTitle.mIpInputDlg.closeWithReset()
            tavixProjectCloudClient.joinSuccess("云项目1")
            compare(findChild(editTitle, "projectTitle").text, "空模板(项目:云项目1)")
            tavixProjectCloudClient.exitSuccess()
            compare(findChild(controlTitle, "projectTitle").text, "空模板(项目:未加入)")
        }

        function test_undoRedoButtons() {
            makeWindow()
            openTemplate()
            var undo = findChild(win.mContent.editPanel, "undoButton")
            var redo = findChild(win.mContent.editPanel, "redoButton")
            compare(undo.enabled, false)
            compare(redo.enabled, false)
            change()
            compare(undo.enabled, true)
            testSupport.undo()
            compare(undo.enabled, false)
            compare(redo.enabled, true)
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

        // The exit entry, an exit button or a script: all ask as the window's own close does.
        function test_closeRequests_data() {
            return [{tag: "退出"}, {tag: "the project's close request"}]
        }
        function test_closeRequests(data) {
            makeWindow()
            openStored("退出")
            change()
            if (data.tag === "退出")
                findChild(win.mContent.editPanel.mMenu, "menuExit").triggered()
            else
                project.closeRequested()
            tryVerify(function () { return win.mIsSaveMessageBoxId !== "" })
            verify(win.visible)
            answer(win.mIsSaveMessageBoxId, "cancelButton")
            tryCompare(win, "visible", false)
        }
    }
}
