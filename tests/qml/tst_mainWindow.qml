import QtQuick
import QtTest
import "qrc:/qml/main"

// The real main window: its start page, its message boxes, the save question on closing and
// before the project manager or another project replaces the open one, the title panels and the
// undo and redo buttons.
RCTestMainWindow {
    id: mainWindow

    readonly property var messages: getRCMessageBoxManager
    readonly property var scenes: project.getScenePresenter()
    Component {
        id: editLayoutComponent

        RCEditModelPanel {
            mWindow: mainWindow
            mMessageBoxManager: getRCMessageBoxManager
            mInterface: getRCInterface
            mImageManager: getImageManager
            mCloudClient: tavixProjectCloudClient
            mFileVersion: getVersion
        }
    }
    Component {
        id: spyComponent

        SignalSpy {}
    }
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
    SignalSpy {
        id: invitationSpy
    }

    TavixTestCase {
        name: "MainWindow"
        when: windowShown

        property var win: null

        // The window gets a parent: a parentless window that the script engine collects can
        // corrupt the engine's heap (Qt 6.4).
        function makeWindow() {
            var component = Qt.createComponent("qrc:/qml/main/RCMainWindow.qml")
            compare(component.status, Component.Ready, component.errorString())
            win = component.createObject(mainWindow, mainWindowInputs)
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
        function sceneNames() {
            return scenes.getSceneIds().map(id => scenes.getPropertyValue(id, "Name"))
        }
        // A designer offers this instance a packet: the install question it shows, or null.
        function offerPacket() {
            tryVerify(() => distributionPeers.udpPortBound(36548), 5000)
            if (!distributionPeers.designerConnected())
                verify(distributionPeers.designerInvite())
            spyOn(invitationSpy, win.mPacketTerminal, "receiveDownloadInvitation")
            distributionPeers.designerOffer()
            invitationSpy.wait(5000)
            var install = findChild(win.contentItem, "projectDownloadDialog")
            return install.mPopup && install.mPopup.opened ? install.view() : null
        }
        function acceptInstall(view) {
            mouseClick(findChild(child(view, "setupConfirmView"), "okButton"))
        }
        // Installs folder's packet through the install question: the view, once it says how it went.
        function install(folder, installs) {
            var view = offerPacket()
            verify(view, "the install question")
            acceptInstall(view)
            verify(distributionPeers.designerWaitFor("download"))
            verify(distributionPeers.designerSendPacket(folder))
            tryCompare(view, "mVisibleViewName", installs ? "setupComplateView" : "setupErrorView", 10000)
            return view
        }
        function askToClose() {
            win.close()
            verify(win.visible, "the window waits for the answer")
            verify(win.mIsSaveMessageBoxId !== "")
            return win.mIsSaveMessageBoxId
        }

        function cleanup() {
            if (win)
                win.destroy()
            win = null
            closeMessages()
            serverPeers.stopServer()
            distributionPeers.reset()
            project.setAppModel(0)
            testSupport.setInitState(project, 0)
            project.getSetting().setValue("DefaultPassword", "")
            project.loadTemplateProjectPacket("空模板")
        }

        // A start without a project shows the start page; a start that loaded one shows the layout
        // of the project's mode at once, made with the window and before the window's own
        // handlers are connected: a box raised before the window still shows, and the window
        // still follows the mode.
        function test_startAndEarlyBoxes_data() {
            return [
                {tag: "start page", initState: 0, mode: 0},
                {tag: "into the project, edit mode", initState: 1, mode: 0},
                {tag: "into the project, control mode", initState: 1, mode: 1}
            ]
        }
        function test_startAndEarlyBoxes(data) {
            testSupport.setInitState(project, data.initState)
            project.setAppModel(data.mode)
            var early = messages.showMessage("提示", "启动前的消息", true, false)
            makeWindow()
            compare(win.title, "Tavix Editor")
            compare(win.width, 1024)
            compare(win.height, 768)
            compare(dialogOf(early).text, "启动前的消息")
            answer(early, "okButton")
            if (data.initState === 0) {
                compare(win.mCurrentPanelName, "totalProjectManagerView")
                compare(win.mContent, null, "the layouts are made when first shown")
                openTemplate()
                compare(findChild(win.contentItem, "projectPath").text, project.getProjectPacketPath())
                return
            }
            compare(win.mCurrentPanelName, "contentPanel")
            var shown = data.mode === 0 ? "editPanel" : "controlPanel"
            var other = data.mode === 0 ? "controlPanel" : "editPanel"
            verify(win.mContent[shown] && win.mContent[shown].visible, shown + " is made and shown")
            compare(win.mContent[other], null, other + " waits until it is needed")
            project.setAppModel(1 - data.mode)
            verify(win.mContent[other] && win.mContent[other].visible, other + " is made on the switch")
            compare(win.mContent[shown].visible, false)
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

        // The window's input dialog (the project manager's rename, for one) is made with inputs it
        // has: a name it lacks is logged at every opening.
        function test_inputDialogTakesItsInputs() {
            failOnWarning(/Setting initial properties failed/)
            makeWindow()
            var dialog = win.openInputDialog("重命名", "名称", "旧名")
            verify(dialog)
            compare(dialog.mValue, "旧名")
            dialog.close()
        }

        // The save question with unsaved changes, from the window's close, the exit entry (an exit
        // button and a script ask as the project does), the project manager entry and another
        // project: what was asked for happens after 不保存 or a save, not after 取消 or a failed
        // save ("保存失败"); nothing is written but by 保存.
        function test_saveQuestion_data() {
            return [
                {tag: "close, 不保存", via: "close", button: "cancelButton", done: true},
                {tag: "close, 取消", via: "close", button: "closeButton", done: false},
                {tag: "close, 保存", via: "close", button: "okButton", done: true},
                {tag: "close, 保存 fails", via: "close", button: "okButton", broken: true, done: false},
                {tag: "退出", via: "exit", button: "cancelButton", done: true},
                {tag: "the project's close request", via: "request", button: "cancelButton", done: true},
                {tag: "project manager, 取消", via: "manager", button: "closeButton", done: false},
                {tag: "project manager, 不保存", via: "manager", button: "cancelButton", done: true},
                {tag: "project manager, 保存", via: "manager", button: "okButton", done: true},
                {tag: "project manager, 保存 fails", via: "manager", button: "okButton", broken: true, done: false},
                {tag: "another project, 不保存", via: "switch", button: "cancelButton", done: true},
                {tag: "another project, 取消", via: "switch", button: "closeButton", done: false}
            ]
        }
        function test_saveQuestion(data) {
            makeWindow()
            var target = openStored("目标")
            var folder = openStored("当前")
            if (data.broken) {
                // a packet whose project file cannot be replaced
                folder = testSupport.makeFolder("坏包")
                verify(testSupport.writeText(folder + "/project.tavx/blocker", ""))
                project.setProjectPacketPath(folder)
            }
            var before = testSupport.readText(folder + "/project.tavx")
            change()
            var entry = win.mContent.editPanel.menu().mProjectManagerEntry
            if (data.via === "close")
                win.close()
            else if (data.via === "exit")
                findChild(win.mContent.editPanel.menu(), "menuExit").triggered()
            else if (data.via === "request")
                project.closeRequested()
            else if (data.via === "manager")
                entry.triggered()
            else
                win.requestSwitchProject(target)
            tryVerify(() => win.mIsSaveMessageBoxId !== "")
            verify(win.visible, "the window waits for the answer")
            var question = dialogOf(win.mIsSaveMessageBoxId).contentItem
            compare(["okButton", "cancelButton", "closeButton"].map(name => findChild(question, name).text),
                    ["保存", "不保存", "取消"])
            answer(win.mIsSaveMessageBoxId, data.button)
            compare(win.mIsSaveMessageBoxId, "")
            if (data.via === "manager") {
                compare(entry.mNeedFocusSaveResult, false, "the question is settled")
                compare(entry.mOverlay !== null, data.done)
                if (entry.mOverlay)
                    entry.mOverlay.close()
            } else if (data.via === "switch") {
                compare(project.getProjectPacketPath(), data.done ? target : folder)
            } else {
                tryCompare(win, "visible", !data.done)
                if (!data.done)
                    compare(win.mIsClosing, false)
            }
            if (data.broken) {
                var text = lastMessage().split("\n")
                compare(text[0], "保存失败")
                verify(text.length > 1, "and why")
            } else if (data.button === "okButton") {
                verify(testSupport.readText(folder + "/project.tavx").indexOf("改动") >= 0)
                tryVerify(() => testSupport.isDrawnImage(folder + "/thumbnail.png"), 5000, "the thumbnail shows the layout")
            } else {
                compare(testSupport.readText(folder + "/project.tavx"), before, "nothing written")
            }
        }

        // Only the layout of the mode shown is made, its system menu only once opened; the other
        // layout is made on the first switch to it, or when its part is needed: the edit layout's
        // save entry (Ctrl+S, 保存 on the close question) in the control mode, the control layout's
        // picture for a save in the edit mode.
        function test_layoutsMadeWhenNeeded_data() {
            return [
                {tag: "edit mode, switch", mode: 0, via: "switch"},
                {tag: "control mode, switch", mode: 1, via: "switch"},
                {tag: "edit mode, Ctrl+S", mode: 0, via: "shortcut"},
                {tag: "control mode, Ctrl+S", mode: 1, via: "shortcut"},
                {tag: "control mode, 保存 on closing", mode: 1, via: "close"}
            ]
        }
        function test_layoutsMadeWhenNeeded(data) {
            // the mode before the window: the window takes it as it is made
            project.setAppModel(data.mode)
            makeWindow()
            var folder = openStored("按需" + data.mode)
            var shown = data.mode === 0 ? "editPanel" : "controlPanel"
            var other = data.mode === 0 ? "controlPanel" : "editPanel"
            verify(win.mContent[shown] && win.mContent[shown].visible, shown + " is made and shown")
            compare(win.mContent[other], null, other + " waits until it is needed")
            compare(win.mContent[shown].mMenu, null, "its system menu waits until it is opened")
            if (data.via === "switch") {
                mouseClick(findChild(win.mContent[shown], "menuButton"))
                var menu = win.mContent[shown].mMenu
                tryVerify(() => menu && menu.opened, 5000, "the menu button makes the menu and opens it")
                menu.close()
                project.setAppModel(1 - data.mode)
                verify(win.mContent[other] && win.mContent[other].visible, other + " is made on the switch")
                compare(win.mContent[shown].visible, false)
                return
            }
            change()
            verify(!testSupport.exists(folder + "/thumbnail.png"), "no picture before the save")
            if (data.via === "shortcut") {
                // keys go to the focus window
                win.requestActivate()
                tryCompare(win, "active", true)
                keySequence(StandardKey.Save)
            } else {
                answer(askToClose(), "okButton")
            }
            tryVerify(() => testSupport.readText(folder + "/project.tavx").indexOf("改动") >= 0, 5000, "saved")
            tryVerify(() => testSupport.isDrawnImage(folder + "/thumbnail.png"), 5000, "the thumbnail shows the layout")
            verify(win.mContent.editPanel && win.mContent.controlPanel, "both layouts are made for the save")
            compare(win.mContent[shown].visible, true, "the shown layout stays")
            compare(win.mContent[other].visible, false)
            if (data.via === "close")
                tryCompare(win, "visible", false)
        }

        // A project file that another program changed since this one wrote it is not replaced
        // without a question, whichever way the save comes (Ctrl+S, the menu's 保存, 保存 on the
        // close question): 取消 leaves that file as it is, 确定 saves, and the picture the change
        // added stays.
        function test_fileChangedElsewhere_data() {
            return [
                {tag: "Ctrl+S, overwritten", via: "shortcut", button: "okButton"},
                {tag: "Ctrl+S, kept", via: "shortcut", button: "cancelButton"},
                {tag: "menu, overwritten", via: "menu", button: "okButton"},
                {tag: "menu, kept", via: "menu", button: "cancelButton"},
                {tag: "closing, overwritten", via: "close", button: "okButton"},
                {tag: "closing, kept", via: "close", button: "cancelButton"}
            ]
        }
        function test_fileChangedElsewhere(data) {
            makeWindow()
            var folder = openStored("他处修改")
            var file = folder + "/project.tavx"
            change()
            verify(testSupport.writeImage(folder + "/image/outside.png", "red", 4, 4))
            var outside = testSupport.readText(file).replace("{", "{\"added\": \"rcimg:/outside.png\", ")
            verify(testSupport.writeText(file, outside))
            var entry = win.saveEntry()
            var results = spyComponent.createObject(win, {target: entry, signalName: "sig_saveResult"})
            if (data.via === "shortcut") {
                win.requestActivate()
                tryCompare(win, "active", true)
                keySequence(StandardKey.Save)
            } else if (data.via === "menu") {
                findChild(win.mContent.editPanel.menu(), "menuSaveProject").triggered()
            } else {
                answer(askToClose(), "okButton")
            }
            tryVerify(() => entry.mFlow.mMessageBoxId !== "", 3000, "the question")
            compare(lastMessage(), "项目文件已被其他程序修改，是否覆盖？")
            compare(lastMessageButtons(), [true, true])
            compare(results.count, 0, "waits for the answer")
            compare(testSupport.readText(file), outside)
            answer(entry.mFlow.mMessageBoxId, data.button)
            var overwrite = data.button === "okButton"
            compare(results.count, 1)
            compare(results.signalArguments[0][0], overwrite)
            if (overwrite)
                verify(testSupport.readText(file).indexOf("改动") >= 0, "saved")
            else
                compare(testSupport.readText(file), outside, "kept byte for byte")
            verify(testSupport.exists(folder + "/image/outside.png"), "the other program's picture stays")
            if (data.via === "close")
                tryCompare(win, "visible", !overwrite)
            else
                verify(lastMessage().indexOf("保存失败") < 0, lastMessage())
        }

        // A layout that is not shown makes no views and follows no scene switch nor item change;
        // it shows the selected scene, with its items and pictures, once shown or while the save
        // thumbnail is drawn, and drops them again after the thumbnail.
        function test_hiddenLayout_data() {
            return [
                {tag: "control layout after a save", mode: 0, hidden: "controlPanel", canvas: "controlScenePanel"},
                {tag: "edit layout in control mode", mode: 1, hidden: "editPanel", canvas: "editScenePanel"}
            ]
        }
        function test_hiddenLayout(data) {
            makeWindow()
            var folder = openStored("隐藏" + data.mode)
            var thumbnail = folder + "/thumbnail.png"
            win.grabImage(thumbnail)
            project.setAppModel(data.mode)
            tryVerify(() => testSupport.exists(thumbnail))
            var panel = findChild(win.mContent[data.hidden], data.canvas)
            var model = findChild(panel, "sceneItemModel")
            var strip = findChild(win.mContent[data.hidden], "sceneList")
            verify(!panel.visible)
            compare([model.rowCount(), panel.viewSlots().length, strip.count], [0, 0, 0], "no views")
            // and the hidden edit layout's property panel
            var rows = findChild(win.mContent.editPanel, "rowModel")
            var spies = ["modelReset", "rowsInserted", "dataChanged"].map(
                name => spyComponent.createObject(win, {"target": model, "signalName": name}))
            var rowResets = spyComponent.createObject(win, {"target": rows, "signalName": "modelReset"})

            // a scene of a green background with a button showing a red picture
            var red = folder + "/red.png", green = folder + "/green.png"
            verify(testSupport.writeImage(red, "#ff0000", 8, 8) && testSupport.writeImage(green, "#00ff00", 8, 8))
            var sceneId = scenes.addScene("B", "", "", false)
            scenes.setPropertyValue(sceneId, "BackgroundImg", "file://" + green, false)
            scenes.setSelectScene(sceneId)
            scenes.setPropertyValue(sceneId, "Focus", true, false)
            var items = project.getSceneItemPresenter()
            var json = project.getControlManager().getControlByType(9).getInstantiationParam().toJson()
            var itemId = items.addItem(sceneId, json, false)
            items.setPos(sceneId, itemId, Qt.point(100, 100), false)
            items.setSize(sceneId, itemId, Qt.size(200, 150), false)
            items.setPropertyValue(sceneId, itemId, "IconPath", "file://" + red, false)
            items.setPropertyValue(sceneId, itemId, "Select", true, false)
            compare(spies.map(spy => spy.count), [0, 0, 0], "nothing followed")
            if (data.mode === 1)
                compare([rowResets.count, rows.rowCount()], [0, 0], "no property rows")
            compare([panel.mSceneId, model.rowCount(), strip.count], ["", 0, 0])

            if (data.mode === 0) {
                testSupport.writeText(thumbnail, "")
                win.grabImage(thumbnail)
                tryVerify(() => testSupport.isDrawnImage(thumbnail), 5000, "the thumbnail is drawn")
                var canvas = findChild(panel, "sceneCanvas")
                var layout = win.mContent[data.hidden]
                var onButton = canvas.mapToItem(layout, panel.toCanvasX(200), panel.toCanvasY(175))
                var onScene = canvas.mapToItem(layout, panel.toCanvasX(600), panel.toCanvasY(400))
                // the strip as the shown layout has it: the first scene's tile under the title
                var tileY = findChild(layout, "controlTitlePanel").height + 10
                compare([testSupport.pixelColor(thumbnail, onButton.x, onButton.y),
                         testSupport.pixelColor(thumbnail, onScene.x, onScene.y),
                         testSupport.pixelColor(thumbnail, 10, tileY)], ["#ff0000", "#00ff00", "#1a1a1d"])
                compare([model.rowCount(), panel.viewSlots().length], [0, 0], "dropped after the picture")
            }
            project.setAppModel(1 - data.mode)
            compare([panel.mSceneId, model.rowCount(), strip.count], [sceneId, 1, 2], "shown")
            var view = panel.viewSlots()[0].item
            compare([view.mSceneItemId, view.mSelect], [itemId, true])
            compare(rows.objectId, data.mode === 1 ? itemId : "", "the property panel shown or not")
            compare(findChild(view, "buttonIcon").status, Image.Ready)
            compare(findChild(panel, "sceneRect").status, Image.Ready)
        }

        function test_closeWithoutChanges() {
            makeWindow()
            openStored("关闭")
            win.close()
            tryCompare(win, "visible", false)
            compare(win.mIsSaveMessageBoxId, "")
        }

        // 保存 of a new project asks for a name; a close meanwhile does nothing, and giving up the
        // save ends the closing.
        function test_closeNewProject() {
            makeWindow()
            openTemplate()
            change()
            answer(askToClose(), "okButton")
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

        function test_titlePanels() {
            makeWindow()
            openTemplate()
            var editTitle = findChild(win.mContent.editPanel, "editTitlePanel")
            var controlTitle = findChild(win.controlLayout(), "controlTitlePanel")
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

        // The server asks once per link: its first ask opens the shown layout's connect dialog
        // with the password row, and the password typed there lets that same link in.
        function test_passwordOnFirstAsk() {
            makeWindow()
            openTemplate()
            var title = findChild(win.mContent.editPanel, "editTitlePanel")
            compare(title.mIpInputDlg, null, "no dialog before the ask")
            verify(serverPeers.startServer("pw42"))
            tryVerify(() => title.mIpInputDlg !== null && title.mIpInputDlg.opened, 10000, "the ask opens the dialog")
            var dialog = title.mIpInputDlg
            var field = findChild(dialog.contentItem, "passwordField")
            compare([dialog.mState, dialog.mPasswordVisible, field.visible, dialog.mConnectStateInfo,
                     dialog.mOkButtonText], [2, true, true, "需要密码验证", "验证"])
            mouseClick(field)
            for (var key of "pw42")
                keyClick(key)
            mouseClick(findChild(dialog.contentItem, "okButton"))
            tryVerify(() => project.isConnectFromHost(), 10000, "the server let the panel in")
            compare(serverPeers.serverLinks(), 1, "on the link that asked")
            compare(serverPeers.wire().filter(cmd => cmd.startsWith("connectVerify")), ['connectVerify {"password":"pw42"}'])
            tryCompare(dialog, "visible", false)
        }

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

        // At the default size the project name shows whole while there is room for it, and the
        // property rows of a custom button fit the side pane (the colour row's "%", the radio
        // row's second choice).
        function test_defaultSizeFits() {
            // the layout as the 1024 x 768 window holds it (the offscreen screen is smaller)
            verify(project.loadTemplateProjectPacket("PC(1920x1080)"))
            var layout = createTemporaryObject(editLayoutComponent, mainWindow,
                                               {"width": 1024, "height": 723, "mProject": project})
            var title = findChild(findChild(layout, "editTitlePanel"), "projectTitle")
            verify(!title.truncated, title.text)
            var sceneId = scenes.getSelectSceneId()
            var items = project.getSceneItemPresenter()
            var json = project.getControlManager().getControlByType(1).getInstantiationParam().toJson()
            var itemId = items.addItem(sceneId, json, false)
            items.setPropertyValue(sceneId, itemId, "Focus", true, false)
            var panel = findChild(layout, "editPropertyPanel")
            tryVerify(() => panel.width > 0, 3000, "laid out")
            for (var name of ["transparencyUnit", "radio_1"]) {
                var part = child(panel, name)
                verify(part.mapToItem(panel, part.width, 0).x <= panel.width, name + " inside the panel")
            }
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

        // While a question or dialog about the open document is pending (the save question, a
        // save dialog), nothing the user did not start touches the document: an invitation, or an
        // install accepted on a question shown before, waits until it is settled (and then asks
        // its own question), a switch-project or exit request is refused, a download from the
        // media server gives its request up. A document replaced all the same withdraws the
        // question unanswered.
        function test_arrivalsWhileAsking_data() {
            var rows = []
            for (var pending of ["question", "save dialog"]) {
                for (var arrival of ["invitation", "accepted install", "switch", "exit", "download", "replaced"])
                    rows.push({tag: pending + ", " + arrival, pending: pending, arrival: arrival})
            }
            return rows
        }
        function test_arrivalsWhileAsking(data) {
            makeWindow()
            var other = openStored("别的")
            var folder = openStored("当前")
            var menu = win.mContent.editPanel.menu()
            var download = null
            var installView = data.arrival === "accepted install" ? offerPacket() : null
            if (data.arrival === "download") {
                verify(serverPeers.connectServer())
                var downloadEntry = findChild(menu, "menuDownloadProject")
                downloadEntry.triggered()
                download = downloadEntry.mPopup.mView
                download.download()
                compare(download.mDownloadState, 1, "the request is out")
            }
            change()
            var names = sceneNames()
            var flow = null
            if (data.pending === "question") {
                askToClose()
            } else {
                var saveAs = findChild(menu, "menuSaveOtherProject")
                saveAs.triggered()
                flow = saveAs.mFlow
                verify(flow.mDialog)
                findChild(flow.mDialog.contentItem, "nameField").text = "用户的名字"
            }
            var question = win.mIsSaveMessageBoxId
            if (data.arrival === "invitation")
                compare(offerPacket(), null, "the install question waits")
            else if (data.arrival === "accepted install")
                installView.accept()
            else if (data.arrival === "switch")
                project.switchProjectRequested(other)
            else if (data.arrival === "exit")
                project.closeRequested()
            else if (data.arrival === "download")
                serverPeers.receive("setProject", {"id": download.mDownloadUid, "name": "服务器的项目"})
            else
                verify(project.loadStorageProjectPacket(other))
            verify(win.visible)
            if (data.arrival === "replaced") {
                compare(win.mIsSaveMessageBoxId, "", "the question is withdrawn")
                compare(messages.getShownMessageIds().length, 0)
                if (flow)
                    compare(flow.mDialog, null, "the save dialog is gone")
                return
            }
            compare(project.getProjectPacketPath(), folder, "the document stays")
            compare(sceneNames(), names)
            compare(win.mIsSaveMessageBoxId, question, "no other question")
            if (installView)
                verify(!findChild(child(installView, "setupConfirmView"), "okButton").enabled, "the install waits")
            if (flow) {
                verify(flow.mDialog, "the save dialog stays")
                mouseClick(findChild(flow.mDialog.contentItem, "headerClose"))
            } else {
                answer(question, "closeButton")
            }
            if (data.arrival === "invitation") {
                var install = findChild(win.contentItem, "projectDownloadDialog")
                tryVerify(() => install.view() !== null && install.mPopup.opened, 5000,
                          "the install question shows once nothing is pending")
            } else if (installView) {
                tryVerify(() => win.mIsSaveMessageBoxId !== "", 5000, "the install asks about saving")
                answer(win.mIsSaveMessageBoxId, "cancelButton")
                verify(distributionPeers.designerWaitFor("download"), "then installs")
            }
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
