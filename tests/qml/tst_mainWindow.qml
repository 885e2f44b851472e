import QtQuick
import QtTest
import "qrc:/qml/main"

// The real main window: its start page and the layouts it makes when they are needed, its message
// boxes and input dialog, the title panels, the connect dialog's password, the undo and redo
// buttons. The closing and the arrivals while it asks are tested by tst_mainWindowClosing.qml and
// tst_mainWindowArrivals.qml, installs by tst_mainWindowInstalls.qml.
RCTestMainWindow {
    id: mainWindow

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

    MainWindowTestCase {
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
        // close question, 远程安装), also when the change kept its size: 取消 leaves that file as
        // it is, 确定 saves (and 远程安装 then opens its dialog), and the picture the change added
        // stays.
        function test_fileChangedElsewhere_data() {
            return [
                {tag: "Ctrl+S, overwritten", via: "shortcut", button: "okButton"},
                {tag: "Ctrl+S, kept", via: "shortcut", button: "cancelButton"},
                {tag: "Ctrl+S, same size, overwritten", via: "shortcut", button: "okButton", sameSize: true},
                {tag: "远程安装, overwritten", via: "issue", button: "okButton"},
                {tag: "远程安装, kept", via: "issue", button: "cancelButton"},
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
            var text = testSupport.readText(file)
            var outside = data.sameSize ? text.replace("\"3.0.0\"", "\"3.0.9\"")
                                        : text.replace("{", "{\"added\": \"rcimg:/outside.png\", ")
            verify(outside !== text && (!data.sameSize || outside.length === text.length))
            verify(testSupport.writeText(file, outside))
            var issueEntry = findChild(win.mContent.editPanel.menu(), "menuProjectIssue")
            var entry = data.via === "issue" ? issueEntry.mSaveEntry : win.saveEntry()
            var results = spyComponent.createObject(win, {target: entry, signalName: "sig_saveResult"})
            if (data.via === "shortcut") {
                win.requestActivate()
                tryCompare(win, "active", true)
                keySequence(StandardKey.Save)
            } else if (data.via === "menu") {
                findChild(win.mContent.editPanel.menu(), "menuSaveProject").triggered()
            } else if (data.via === "issue") {
                issueEntry.triggered()
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
            var issue = issueEntry.mIssueDialog
            if (data.via === "issue" && overwrite)
                tryVerify(() => issue.mPopup && issue.mPopup.opened, 3000, "the install dialog opens")
            else
                compare(issue.mPopup, null)
            issue.close()
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
        // with the password row. The password typed there lets that same link in; 取消 turns the
        // server down, so it is not asked about or linked again (two probe periods, 4.5 s); another
        // address typed there is where the panel goes instead.
        function test_passwordOnFirstAsk_data() {
            return [{tag: "验证", answer: "password"}, {tag: "取消", answer: "cancel"},
                    {tag: "another address", answer: "address"}]
        }
        function test_passwordOnFirstAsk(data) {
            makeWindow()
            openTemplate()
            var title = findChild(win.mContent.editPanel, "editTitlePanel")
            compare(title.mIpInputDlg, null, "no dialog before the ask")
            verify(serverPeers.startServer("pw42"))
            tryVerify(() => title.mIpInputDlg !== null && title.mIpInputDlg.opened, 10000, "the ask opens the dialog")
            var dialog = title.mIpInputDlg
            var field = findChild(dialog.contentItem, "passwordField")
            var okButton = findChild(dialog.contentItem, "okButton")
            compare([dialog.mState, dialog.mPasswordVisible, field.visible, dialog.mConnectStateInfo,
                     okButton.text], [2, true, true, "需要密码验证", "验证"])
            if (data.answer === "cancel") {
                mouseClick(findChild(dialog.contentItem, "cancelButton"))
                compare(dialog.visible, false)
                wait(4500)
                compare([dialog.visible, serverPeers.serverLinks(), project.isConnectFromHost()], [false, 1, false])
                return
            }
            if (data.answer === "address") {
                var ipField = findChild(dialog.contentItem, "ipField")
                mouseClick(ipField)
                ipField.selectAll()
                for (var c of "198.18.0.9")
                    keyClick(c)
                compare(okButton.text, "连接")
                mouseClick(okButton)
                compare([dialog.mState, dialog.mPasswordVisible, project.getSetting().getValue("DefaultIp")],
                        [1, false, "198.18.0.9"])
                project.getSetting().setValue("DefaultIp", "")
                return
            }
            mouseClick(field)
            for (var key of "pw42")
                keyClick(key)
            mouseClick(okButton)
            tryVerify(() => project.isConnectFromHost(), 10000, "the server let the panel in")
            compare(serverPeers.serverLinks(), 1, "on the link that asked")
            compare(serverPeers.wire().filter(cmd => cmd.startsWith("connectVerify")), ['connectVerify {"password":"pw42"}'])
            tryCompare(dialog, "visible", false)
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
    }
}
