import QtQuick
import QtTest
import "qrc:/qml/common"
import "qrc:/qml/menus"
import "qrc:/qml/projectManagerPanel"

// The system menu's dialogs driven through their functions: the connect dialog's states and
// address check, the save dialog's checks and folder URLs, save and save-as with their overwrite
// question and real results (in the real window), the download view against the stand-in server,
// the join dialog and the entries whose text follows the project.
RCTestMainWindow {
    id: mainWindow

    readonly property var messages: getRCMessageBoxManager
    readonly property var setting: project.getSetting()

    Component {
        id: connectDialogComponent

        RCConnectDialog {
            mSetting: project.getSetting()
            mStelvaneSyncer: stelvaneSyncer
        }
    }
    Component {
        id: saveDialogComponent

        RCDialogSaveProject {
            mProject: project
            mMessageBoxManager: getRCMessageBoxManager
            mInterface: getRCInterface
        }
    }
    Component {
        id: storageViewComponent

        RCProjectManagerViewStorage {
            mWindow: mainWindow
            mProject: project
            mInterface: getRCInterface
        }
    }
    Component {
        id: joinDialogComponent

        RCDialogJoinProject {
            mProjectw: project
            mMessageBoxManager: getRCMessageBoxManager
            mCloudClient: tavixProjectCloudClient
        }
    }
    Component {
        id: downloadViewComponent

        RCDownloadProjectView {
            width: 390
            height: 135
            mProject: project
            mWindow: mainWindow
            mInterface: getRCInterface
        }
    }
    Component {
        id: switchEntryComponent

        RCMenuItemSwitchAppModel {}
    }
    Component {
        id: joinEntryComponent

        RCMenuItemJoinProject {
            mProject: project
            mWindow: mainWindow
            mMessageBoxManager: getRCMessageBoxManager
            mCloudClient: tavixProjectCloudClient
        }
    }
    SignalSpy {
        id: spy
    }

    TavixTestCase {
        name: "Menus"
        when: windowShown

        property var win: null

        function realWindow() {
            win = Qt.createComponent("qrc:/qml/main/RCMainWindow.qml").createObject(mainWindow, mainWindowInputs)
            verify(findChild(win.contentItem, "projectManagerViewTotal").openTemplate("空模板"))
            tryCompare(win.mContent, "width", win.width)
            return win.mContent.editPanel.menu()
        }

        function sceneNames() {
            var scenes = project.getScenePresenter()
            return scenes.getSceneIds().map(id => scenes.getPropertyValue(id, "Name"))
        }

        function cleanup() {
            if (win)
                win.destroy()
            win = null
            closeMessages()
            serverPeers.stopServer()
            mainWindow.mAskToSave = false
            setting.setValue("DefaultIp", "")
            setting.setValue("DefaultPassword", "")
            project.loadTemplateProjectPacket("空模板")
        }

        function test_connectAddress_data() {
            return [
                {tag: "empty: any server", text: "", ok: true, stored: ""},
                {tag: "address", text: "198.18.0.2", ok: true, stored: "198.18.0.2"},
                {tag: "blanks around", text: " 10.0.0.5 ", ok: true, stored: "10.0.0.5"},
                {tag: "octet too big", text: "300.1.1.1", ok: false},
                {tag: "three parts", text: "10.0.0", ok: false},
                {tag: "five parts", text: "10.0.0.1.2", ok: false},
                {tag: "letters", text: "a.b.c.d", ok: false},
                {tag: "host name", text: "server.local", ok: false}
            ]
        }
        function test_connectAddress(data) {
            setting.setValue("DefaultIp", "198.18.0.9")
            var dialog = createTemporaryObject(connectDialogComponent, mainWindow)
            compare(dialog.mDefaultIp, "198.18.0.9", "the field shows the setting")
            dialog.open()
            dialog.mDefaultIp = data.text
            dialog.accept()
            compare(dialog.mState, data.ok ? 1 : 0)
            if (data.ok) {
                compare(setting.getValue("DefaultIp"), data.stored)
                compare(dialog.mConnectStateInfo, "连接中")
                compare(dialog.mOkButtonEnable, false)
            } else {
                compare(setting.getValue("DefaultIp"), "198.18.0.9", "nothing written")
                compare(dialog.mConnectStateInfo, "IP地址格式错误")
            }
        }

        function test_connectStates() {
            var dialog = createTemporaryObject(connectDialogComponent, mainWindow)
            dialog.open()
            compare([dialog.mState, dialog.mOkButtonText, dialog.mOkButtonEnable, dialog.mConnectStateInfo], [0, "连接", true, " "])
            dialog.mDefaultIp = "198.18.0.2"
            dialog.accept()
            dialog.accept()
            compare(dialog.mState, 1, "OK does nothing while connecting")
            stelvaneSyncer.connectVerifyAsk()
            compare([dialog.mState, dialog.mOkButtonText, dialog.mPasswordVisible, dialog.mConnectStateInfo], [2, "验证", true, "需要密码验证"])
            dialog.mDefaultPassword = "secret"
            dialog.accept()
            compare([dialog.mState, dialog.mOkButtonEnable, dialog.mConnectStateInfo], [3, false, "验证中"])
            compare(setting.getValue("DefaultPassword"), "secret")
            stelvaneSyncer.connectPasswordError()
            compare([dialog.mState, dialog.mOkButtonText, dialog.mConnectStateInfo], [4, "重试", "密码错误,验证失败"])
            dialog.accept()
            compare(dialog.mState, 3)
            stelvaneSyncer.connectedToServer("198.18.0.2")
            compare([dialog.mState, dialog.mPasswordVisible, dialog.visible], [0, false, false])
        }

        function test_saveDialogChecks_data() {
            return [
                {tag: "empty name", name: "", folder: "/tmp", text: "项目名称不能为空"},
                {tag: "separator", name: "a/b", folder: "/tmp", invalid: true},
                {tag: "backslash", name: "a\\b", folder: "/tmp", invalid: true},
                {tag: "parent", name: "..", folder: "/tmp", invalid: true},
                {tag: "reserved", name: "a:b", folder: "/tmp", invalid: true},
                {tag: "question mark", name: "a?", folder: "/tmp", invalid: true},
                {tag: "leading blank", name: " a", folder: "/tmp", invalid: true},
                {tag: "trailing blank", name: "a ", folder: "/tmp", invalid: true},
                {tag: "hidden", name: ".a", folder: "/tmp", invalid: true},
                {tag: "trailing dot", name: "a.", folder: "/tmp", invalid: true},
                {tag: "line break", name: "a\nb", folder: "/tmp", invalid: true},
                {tag: "empty folder", name: "演出", folder: "", text: "保存路径不能为空"},
                {tag: "600 bytes", name: "演".repeat(200), folder: "/tmp", text: "名称过长"},
                {tag: "the cache", name: "演出", cache: true, text: "不能保存到临时文件夹，请选择其他保存路径"},
                {tag: "the install folder through a link", name: "downloadProject", link: true,
                    text: "不能保存到安装文件夹，下次安装会替换它，请选择其他保存路径"},
                {tag: "a folder with another project file", name: "别人的",
                    files: {"project.tavx": "{}", "notes.txt": "笔记", "image/mine.png": "图"},
                    text: "该文件夹中已有其他项目文件，不能保存到此处，请选择其他保存路径"},
                // A folder is a packet only when its project file reads as a project.
                {tag: "only a text project.tavx", name: "笔记", files: {"project.tavx": "我的笔记"},
                    text: "该文件夹中已有其他项目文件，不能保存到此处，请选择其他保存路径"},
                {tag: "a project.tavx of JSON and an image folder", name: "笔记",
                    files: {"project.tavx": "{\"sceneArray\": []}", "image/red.png": "图"},
                    text: "该文件夹中已有其他项目文件，不能保存到此处，请选择其他保存路径"},
                {tag: "only another tool's project.json", name: "别的工具", files: {"project.json": "{\"name\": \"x\"}"},
                    text: "该文件夹中已有其他项目文件，不能保存到此处，请选择其他保存路径"},
                // The entries of the application folder that the program replaces or deletes.
                {tag: "the install folder moved aside", name: "downloadProject.previous", app: true,
                    text: "不能保存到程序自用的文件或文件夹，程序会替换或删除它，请选择其他保存路径"},
                {tag: "the received install folder", name: "downloadProject.received", app: true,
                    text: "不能保存到程序自用的文件或文件夹，程序会替换或删除它，请选择其他保存路径"},
                {tag: "the log folder", name: "Log", app: true,
                    text: "不能保存到程序自用的文件或文件夹，程序会替换或删除它，请选择其他保存路径"},
                {tag: "the settings file", name: "config.json", app: true,
                    text: "不能保存到程序自用的文件或文件夹，程序会替换或删除它，请选择其他保存路径"},
                {tag: "the recent list", name: "recently.data", app: true,
                    text: "不能保存到程序自用的文件或文件夹，程序会替换或删除它，请选择其他保存路径"},
                {tag: "the recent list's lock", name: "recently.data.lock", app: true,
                    text: "不能保存到程序自用的文件或文件夹，程序会替换或删除它，请选择其他保存路径"},
                // Links into the program's folders are refused before any question, with the reason.
                {tag: "a link to the template cache root", name: "演出", linkTo: "cache",
                    text: "不能保存到临时文件夹，请选择其他保存路径"},
                {tag: "a link to a template copy", name: "演出", linkTo: "cache/模板",
                    text: "不能保存到临时文件夹，请选择其他保存路径"},
                {tag: "an image folder that links into the install folder", name: "演出", entry: "image",
                    linkTo: "install/image", text: "不能保存到安装文件夹，下次安装会替换它，请选择其他保存路径"},
                {tag: "a project file that links into the cache", name: "演出", entry: "project.tavx",
                    linkTo: "cache/模板/project.tavx", text: "不能保存到临时文件夹，请选择其他保存路径"},
                {tag: "a link to a packet elsewhere", name: "演出", linkTo: "elsewhere",
                    text: "该文件夹是指向其他位置的链接，不能保存到此处，请选择其他保存路径"},
                {tag: "good", name: "演出 第1场", folder: "/tmp/项目", accepted: true}
            ]
        }
        // Every file below a folder with its text.
        function contentsBelow(sFolder) {
            var files = testSupport.filesBelow(sFolder)
            var contents = {}
            for (var i = 0; i < files.length; ++i)
                contents[files[i]] = testSupport.readText(sFolder + "/" + files[i])
            return contents
        }
        function test_saveDialogChecks(data) {
            var dialog = createTemporaryObject(saveDialogComponent, mainWindow)
            spyOn(spy, dialog, "accepted")
            dialog.open()
            tryCompare(dialog, "opened", true)
            findChild(dialog.contentItem, "nameField").text = data.name
            dialog.mFolder = data.cache ? project.getNewProjectPacketPath() : data.folder || ""
            var install = project.getDownloadProjectPacketPath()
            var cache = project.getNewProjectPacketPath()
            // The application folder, which holds the install folder and the cache.
            var appDir = install.replace(/\/downloadProject$/, "")
            if (data.link) {
                dialog.mFolder = testSupport.makeFolder("链接") + "/lnk"
                verify(testSupport.link(appDir, dialog.mFolder))
            }
            if (data.app)
                dialog.mFolder = appDir
            if (data.files) {
                dialog.mFolder = testSupport.makeFolder("别人")
                for (var name in data.files)
                    verify(testSupport.writeText(dialog.mFolder + "/" + data.name + "/" + name, data.files[name]))
            }
            if (data.linkTo) {
                // A packet in the install folder, a template copy in the cache, a packet elsewhere.
                var packetText = "{\"sceneArray\": {\"sceneArray\": []}}"
                verify(testSupport.writeText(install + "/project.tavx", packetText))
                verify(testSupport.writeText(install + "/image/a.png", "图"))
                verify(testSupport.writeText(cache + "/模板/project.tavx", packetText))
                var elsewhere = testSupport.makeFolder("别处")
                verify(testSupport.writeText(elsewhere + "/project.tavx", packetText))
                var targets = {"cache": cache, "cache/模板": cache + "/模板",
                    "cache/模板/project.tavx": cache + "/模板/project.tavx", "install/image": install + "/image",
                    "elsewhere": elsewhere}
                dialog.mFolder = testSupport.makeFolder("链接")
                var linkPath = dialog.mFolder + "/" + data.name
                if (data.entry) {
                    verify(testSupport.writeText(linkPath + "/notes.txt", "笔记"))
                    linkPath += "/" + data.entry
                }
                verify(testSupport.link(targets[data.linkTo], linkPath))
            }
            var folders = [appDir, testSupport.tempPath()]
            var before = folders.map(contentsBelow)
            compare(dialog.save(), data.accepted === true)
            compare(folders.map(contentsBelow), before, "every file stays as it was")
            if (data.accepted) {
                compare(spy.count, 1)
                compare(spy.signalArguments[0][0], data.folder)
                compare(spy.signalArguments[0][1], data.name)
                compare(dialog.visible, false)
            } else {
                compare(spy.count, 0)
                compare(dialog.visible, true, "the dialog stays")
                compare(lastMessage(), data.invalid ? "项目名称不能包含\\/:*?\"<>|，也不能以空格或点开头结尾" : data.text)
                var ids = messages.getShownMessageIds()
                compare([messages.okButtonIsVisible(ids[ids.length - 1]), messages.cancelButtonIsVisible(ids[ids.length - 1])],
                        [true, false], "a notice has one 确定")
            }
        }

        function test_saveDialogFolder_data() {
            return [
                {tag: "plain url", url: "file:///tmp/show", path: "/tmp/show"},
                {tag: "blank", url: "file:///tmp/my%20show", path: "/tmp/my show"},
                {tag: "encoded Chinese", url: "file:///tmp/%E6%BC%94%E5%87%BA", path: "/tmp/演出"},
                {tag: "Chinese", url: "file:///tmp/演出/第一场", path: "/tmp/演出/第一场"},
                {tag: "percent in the name", url: "file:///tmp/100%25", path: "/tmp/100%"},
                {tag: "a path already", url: "/tmp/show", path: "/tmp/show"}
            ]
        }
        function test_saveDialogFolder(data) {
            var dialog = createTemporaryObject(saveDialogComponent, mainWindow, {"mSaveFolderPath": "/home/user/projects/old"})
            compare(dialog.mFolder, "/home/user/projects", "starts in the parent of the packet")
            dialog.folderChosen(data.url)
            compare(dialog.mFolder, data.path)
        }

        // The save dialog's folder picker and the project manager's "更多项目" are read-only
        // pickers that open beside the open packet; without one (a new project, a template copy in
        // the cache) they leave the start to the picker (documents, else home), never the working
        // folder.
        function test_pickersStartBesideThePacket_data() {
            return [
                {tag: "save dialog, stored project", picker: "save", project: "stored"},
                {tag: "save dialog, template copy", picker: "save", project: "template"},
                {tag: "save dialog, new project", picker: "save", project: "none"},
                {tag: "更多项目, stored project", picker: "more", project: "stored"},
                {tag: "更多项目, template copy", picker: "more", project: "template"}
            ]
        }
        function test_pickersStartBesideThePacket(data) {
            var parent = testSupport.makeFolder("选择器")
            if (data.project === "stored") {
                verify(project.saveProjectPacket(parent + "/项目"))
                project.setProjectPacketPath(parent + "/项目")
            }
            var picker
            if (data.picker === "save") {
                var packet = data.project === "none" ? "" : project.getProjectPacketPath()
                picker = createTemporaryObject(saveDialogComponent, mainWindow, {"mSaveFolderPath": packet}).mFolderPicker
                compare(picker.selectFolder, true)
            } else {
                picker = createTemporaryObject(storageViewComponent, mainWindow).filePicker()
                compare(picker.selectFolder, false)
                compare(picker.nameFilters.length, 1)
                compare(picker.nameFilters[0], "Project files (*.tavx *.json)")
            }
            compare(picker.startFolder, data.project === "stored" ? parent : "")
        }

        // "另存为和打开" starts as "保存" does where the project has no packet of its own, and beside
        // its packet otherwise.
        function test_saveAsStartFolder_data() {
            return [
                {tag: "template copy", stored: false},
                {tag: "stored project", stored: true}
            ]
        }
        function test_saveAsStartFolder(data) {
            var menu = realWindow()
            var parent = ""
            if (data.stored) {
                parent = testSupport.makeFolder("起点")
                verify(project.saveProjectPacket(parent + "/项目"))
                verify(project.loadStorageProjectPacket(parent + "/项目"))
            }
            var entry = findChild(menu, "menuSaveOtherProject")
            entry.triggered()
            verify(entry.mFlow.mDialog)
            compare(entry.mFlow.mDialog.mFolder, parent)
        }

        function test_saveAs_data() {
            return [
                {tag: "into a Chinese folder", folder: "另存为目录", name: "新项目", saved: true},
                {tag: "over a folder with files, kept", folder: "有文件", name: "旧项目", existing: true, overwrite: false, saved: false},
                {tag: "over a folder with files, saved beside them", folder: "有文件", name: "旧项目", existing: true, overwrite: true, saved: true},
                {tag: "under a file", folder: "文件下", name: "项目", blocked: true, saved: false}
            ]
        }
        function test_saveAs(data) {
            var menu = realWindow()
            var before = project.getProjectPacketPath()
            var folder = testSupport.makeFolder(data.folder)
            var target = folder + "/" + data.name
            if (data.existing) {
                verify(testSupport.writeText(target + "/notes.txt", "用户的文件"))
                verify(testSupport.writeText(target + "/image/mine.png", "用户的图"))
            }
            if (data.blocked) {
                verify(testSupport.writeText(folder + "/file", ""))
                folder = folder + "/file"
                target = folder + "/" + data.name
            }
            var entry = findChild(menu, "menuSaveOtherProject")
            spyOn(spy, entry, "sig_saveAsResult")
            entry.triggered()
            var dialog = entry.mFlow.mDialog
            verify(dialog)
            findChild(dialog.contentItem, "nameField").text = data.name
            dialog.mFolder = folder
            verify(dialog.save())
            if (data.existing) {
                compare(lastMessage(), "文件夹不为空，是否保存到此处？")
                compare(spy.count, 0, "waits for the answer")
                var question = entry.mFlow.mMessageBoxId
                if (data.overwrite)
                    messages.accept(question)
                else
                    messages.reject(question)
            }
            compare(spy.count, 1)
            compare(spy.signalArguments[0][0], data.saved)
            var text = lastMessage().split("\n")
            compare(text[0], data.saved ? "另存为成功" : "另存为失败")
            compare(text.length > 1, !!data.blocked, "a failed write says why")
            compare(testSupport.exists(target + "/project.tavx"), data.saved)
            compare(project.getProjectPacketPath(), data.saved ? target : before)
            if (data.existing && data.saved)
                verify(project.saveProjectPacket(), "the next Ctrl+S")
            if (data.existing) {
                compare(testSupport.readText(target + "/notes.txt"), "用户的文件")
                compare(testSupport.readText(target + "/image/mine.png"), "用户的图")
            }
        }

        // A picture that the packet does not hold yet is copied into the new folder by the first
        // save there (or a save-as); the item's view keeps showing it, now from the new folder.
        function test_pictureFollowsTheSave_data() {
            return [
                {tag: "first save", entry: "menuSaveProject"},
                {tag: "save as", entry: "menuSaveOtherProject"}
            ]
        }
        function test_pictureFollowsTheSave(data) {
            var menu = realWindow()
            var picture = testSupport.makeFolder("图片") + "/pic.png"
            var grabbed = false
            verify(mainWindow.grabToImage(result => grabbed = result.saveToFile(picture), Qt.size(16, 16)))
            tryVerify(() => grabbed)
            var scenes = project.getScenePresenter()
            var items = project.getSceneItemPresenter()
            var sceneId = scenes.getSelectSceneId()
            var json = project.getControlManager().getControlByType(1).getInstantiationParam().toJson()
            var itemId = items.addItem(sceneId, json, false)
            items.setPropertyValue(sceneId, itemId, "IconPath", "file://" + picture, false)
            var icon = findChild(child(win.contentItem, "sceneItemView_" + itemId), "buttonIcon")
            tryCompare(icon, "status", Image.Ready)

            var entry = findChild(menu, data.entry)
            entry.triggered()
            var dialog = entry.mFlow.mDialog
            verify(dialog)
            var target = testSupport.makeFolder("新目录") + "/项目"
            findChild(dialog.contentItem, "nameField").text = "项目"
            dialog.mFolder = target.substring(0, target.lastIndexOf("/"))
            verify(dialog.save())
            compare(project.getProjectPacketPath(), target)
            compare(items.getPropertyValue(sceneId, itemId, "IconPath"), "rcimg:/pic.png")
            compare(icon.status, Image.Ready, "the picture still shows")
            verify(String(icon.source).indexOf(target + "/") >= 0, "from the new folder")
        }

        // A picture whose file is gone is named before the save; "确定" saves without it, any
        // other answer saves nothing and is no failure.
        function test_missingPicturesAsked_data() {
            return [
                {tag: "save, agreed", entry: "menuSaveProject", agree: true},
                {tag: "save, declined", entry: "menuSaveProject", agree: false},
                {tag: "save as, agreed", entry: "menuSaveOtherProject", agree: true},
                {tag: "save as, declined", entry: "menuSaveOtherProject", agree: false},
                // The install dialog opens once the save is done, though the menu closed for the
                // question.
                {tag: "远程安装, agreed", entry: "menuProjectIssue", agree: true},
                {tag: "远程安装, declined", entry: "menuProjectIssue", agree: false}
            ]
        }
        function test_missingPicturesAsked(data) {
            var menu = realWindow()
            var packet = testSupport.makeFolder("有图") + "/项目"
            verify(project.saveProjectPacket(packet))
            verify(project.loadStorageProjectPacket(packet))
            var picture = testSupport.makeFolder("图片") + "/gone.png"
            verify(testSupport.writeFile(picture, 16))
            var scenes = project.getScenePresenter()
            var sceneId = scenes.getSelectSceneId()
            scenes.setPropertyValue(sceneId, "IconPath", "file://" + picture, true)
            verify(testSupport.remove(picture))

            var entry = findChild(menu, data.entry)
            var issue = data.entry === "menuProjectIssue" ? entry.mIssueDialog : null
            var saver = issue ? entry.mSaveEntry : entry
            spyOn(spy, saver, data.entry === "menuSaveOtherProject" ? "sig_saveAsResult" : "sig_saveResult")
            entry.triggered()
            verify(lastMessage().indexOf("gone.png") >= 0, lastMessage())
            compare(spy.count, 0, "waits for the answer")
            if (!data.agree) {
                messages.reject(saver.mFlow.mPictureQuestionId)
                compare(issue ? issue.mPopup : null, null, "no install without the save")
                compare(spy.count, 1)
                compare(spy.signalArguments[0][0], false)
                compare(scenes.getPropertyValue(sceneId, "IconPath"), "file://" + picture)
                compare(lastMessage(), "", "declining is no failure: nothing is said")
                return
            }
            messages.accept(saver.mFlow.mPictureQuestionId)
            var target = packet
            if (data.entry === "menuSaveOtherProject") {
                var dialog = entry.mFlow.mDialog
                verify(dialog)
                target = testSupport.makeFolder("另存") + "/副本"
                findChild(dialog.contentItem, "nameField").text = "副本"
                dialog.mFolder = target.substring(0, target.lastIndexOf("/"))
                verify(dialog.save())
            }
            compare(spy.count, 1)
            compare(spy.signalArguments[0][0], true)
            compare(scenes.getPropertyValue(sceneId, "IconPath"), "")
            verify(testSupport.readText(target + "/project.tavx").indexOf("gone.png") < 0)
            if (issue) {
                tryVerify(() => issue.mPopup && issue.mPopup.opened, 3000, "the install dialog opens")
                issue.close()
            }
        }

        // A listed project is one also when the user keeps other files in its folder.
        function test_saveKnownProjectAsks() {
            var menu = realWindow()
            var folder = testSupport.makeFolder("已知")
            verify(project.saveProjectPacket(folder + "/项目"))
            verify(testSupport.writeText(folder + "/项目/notes.txt", "用户的文件"))
            verify(project.loadTemplateProjectPacket("空模板"))
            var entry = menu.mSaveEntry
            spyOn(spy, entry, "sig_saveResult")
            entry.triggered()
            var dialog = entry.mFlow.mDialog
            findChild(dialog.contentItem, "nameField").text = "项目"
            dialog.mFolder = folder
            dialog.save()
            compare(lastMessage(), "项目存在，是否覆盖？")
            messages.close(entry.mFlow.mMessageBoxId)
            compare(spy.count, 1)
            compare(spy.signalArguments[0][0], false)
            verify(lastMessage() !== "保存失败", "declining is no failure")
        }

        // The requests reach the stand-in server, which never answers them.
        function test_downloadRequests() {
            verify(serverPeers.connectServer())
            var view = createTemporaryObject(downloadViewComponent, mainWindow, {"mTimeoutMs": 100})
            view.restore()
            compare([view.mDownloadState, view.mText, view.mEnableDownload], [0, "空闲", true])
            view.download()
            compare([view.mDownloadState, view.mText, view.mEnableDownload], [1, "下载中", false])
            view.download()
            verify(serverPeers.flushWire())
            compare(serverPeers.wire(), ['getProject {"id":1}'], "no second request while one is out")
            tryCompare(view, "mText", "服务器没有回应，下载超时", 2000)
            compare(view.mEnableDownload, true)
            view.download()
            compare(view.mDownloadUid, 2)
            stelvaneSyncer.disconnectFromServer()
            compare(view.mText, "与服务器的连接已断开")
            serverPeers.stopServer()
            tryVerify(() => !project.isConnectFromHost(), 3000)
            view.restore()
            view.download()
            compare([view.mDownloadState, view.mText], [3, "未连接服务器，无法下载"])
        }

        // A download that ended without its answer (time-out, 取消, the popup opened again) gives
        // its request up: the server's answer arriving later changes nothing.
        function test_lateAnswerDropped_data() {
            return [
                {tag: "after the time-out", end: "timeout", text: "服务器没有回应，下载超时"},
                {tag: "after 取消", end: "cancel", text: "下载已取消"},
                {tag: "after opening the popup again", end: "reopen", text: "空闲"}
            ]
        }
        function test_lateAnswerDropped(data) {
            var entry = findChild(realWindow(), "menuDownloadProject")
            verify(serverPeers.connectServer())
            entry.triggered()
            var view = entry.mPopup.mView
            view.mTimeoutMs = 200
            var scenes = sceneNames()
            var packet = project.getProjectPacketPath()
            view.download()
            compare(view.mDownloadState, 1)
            verify(serverPeers.flushWire())
            compare(serverPeers.wire(), ['getProject {"id":' + view.mDownloadUid + '}'])
            if (data.end === "timeout")
                tryCompare(view, "mDownloadState", 3, 3000)
            else if (data.end === "cancel")
                mouseClick(findChild(view, "cancelButton"))
            else
                entry.triggered()
            serverPeers.receive("setProject", {"id": view.mDownloadUid, "name": "迟到的项目"})
            compare(sceneNames(), scenes, "no scene added")
            compare(project.getProjectPacketPath(), packet)
            compare(view.mText, data.text)
        }

        function test_downloadAsksToSaveFirst() {
            verify(serverPeers.connectServer())
            var view = createTemporaryObject(downloadViewComponent, mainWindow)
            mainWindow.mAskToSave = true
            view.restore()
            view.download()
            compare(mainWindow.mSaveQuestionClient, view)
            compare(view.mDownloadState, 0, "waits for the answer")
            view.saveSettled(false)
            verify(serverPeers.flushWire())
            compare(serverPeers.wire(), [], "cancelled: nothing asked")
            view.saveSettled(true)
            verify(serverPeers.flushWire())
            compare(serverPeers.wire(), ['getProject {"id":1}'])
        }

        function test_downloadAnswer_data() {
            return [
                {tag: "an earlier request", uid: 4, name: "演出", taken: false},
                {tag: "name", uid: 5, name: "演出 A", folder: "演出 A"},
                {tag: "path in the name", uid: 5, name: "../../etc/passwd", folder: "_.._etc_passwd"},
                {tag: "reserved characters", uid: 5, name: "a:b*c", folder: "a_b_c"},
                {tag: "only dots and blanks", uid: 5, name: " .. ", refused: true},
                {tag: "no name", uid: 5, refused: true}
            ]
        }
        function test_downloadAnswer(data) {
            var view = createTemporaryObject(downloadViewComponent, mainWindow)
            spyOn(spy, view, "sig_downloadComplete")
            var packet = project.getProjectPacketPath()
            setting.setValue("DefaultIp", "198.18.0.7")
            var joinUid = setting.getValue("ProjectJoinUid")
            var sceneCount = project.getScenePresenter().getSceneCount()
            view.mDownloadUid = 5
            view.mDownloadState = 1
            var answer = {"id": data.uid, "trackArray": [], "setting": {"DefaultIp": "10.9.9.9", "ProjectJoinUid": "x"}}
            if (data.name !== undefined)
                answer["name"] = data.name
            stelvaneSyncer.projectSet(data.uid, answer)
            if (data.taken === false) {
                compare(view.mDownloadState, 1)
                compare(project.getProjectPacketPath(), packet)
                return
            }
            if (data.refused) {
                compare([view.mDownloadState, view.mText], [3, "项目名称无效，无法保存"])
                compare(project.getProjectPacketPath(), packet)
                return
            }
            compare(view.mDownloadState, 2)
            compare(spy.count, 1)
            compare(project.getProjectPacketPath(), project.getNewProjectPacketPath() + "/" + data.folder)
            compare(project.getScenePresenter().getSceneCount(), sceneCount, "the open scenes stay")
            verify(project.hasChangedOnClosing(), "the downloaded scene is unsaved work")
            compare(setting.getValue("DefaultIp"), "198.18.0.7", "server data sets no link settings")
            compare(setting.getValue("ProjectJoinUid"), joinUid)
        }

        function test_joinDialog_data() {
            return [
                {tag: "no name", name: "", password: "p", text: "项目名称不能为空"},
                {tag: "no password", name: "n", password: "", text: "密码不能为空"},
                {tag: "both", name: "1001", password: "8888", joins: true}
            ]
        }
        function test_joinDialog(data) {
            var dialog = createTemporaryObject(joinDialogComponent, mainWindow)
            spyOn(spy, tavixProjectCloudClient, "tryJoin")
            dialog.open()
            tryCompare(dialog, "opened", true)
            compare(findChild(dialog.contentItem, "passwordField").echoMode, TextInput.PasswordEchoOnEdit)
            findChild(dialog.contentItem, "nameField").text = data.name
            findChild(dialog.contentItem, "passwordField").text = data.password
            compare(dialog.join(), data.joins === true)
            compare(dialog.visible, data.joins !== true)
            if (data.joins) {
                compare(spy.count, 1)
                compare(spy.signalArguments[0][0], "1001")
                tavixProjectCloudClient.exitProject()
            } else {
                compare(lastMessage(), data.text)
            }
        }

        // Entries whose popup is made on their first use: the first use shows it, and so does the
        // next one (the download popup is kept for it, the project manager made again).
        function test_popupOnFirstUse_data() {
            return [
                {tag: "添加Mirel场景", entry: "menuDownloadProject", popup: "mPopup", kept: true},
                {tag: "打开或新建", entry: "menuProjectManager", popup: "mOverlay", kept: false}
            ]
        }
        function test_popupOnFirstUse(data) {
            var entry = findChild(realWindow(), data.entry)
            verify(entry, data.entry)
            compare(entry[data.popup], null, "nothing made before the first use")
            var first = null
            for (var use = 0; use < 2; ++use) {
                entry.triggered()
                var popup = entry[data.popup]
                verify(popup, "use " + use)
                tryCompare(popup, "opened", true)
                if (data.kept && first)
                    compare(popup, first, "the popup is made once")
                first = popup
                popup.close()
                if (data.kept)
                    tryCompare(popup, "visible", false)
                else
                    tryCompare(entry, data.popup, null)
            }
        }

        function test_entryTexts() {
            var join = createTemporaryObject(joinEntryComponent, mainWindow)
            compare(join.text, "加入项目")
            tavixProjectCloudClient.joinSuccess("1001")
            compare(join.text, "退出项目")
            tavixProjectCloudClient.exitSuccess()
            compare(join.text, "加入项目")

            var mode = createTemporaryObject(switchEntryComponent, mainWindow, {"mProject": project})
            compare(mode.text, "控制模式")
            mode.triggered()
            compare(project.getAppModel(), 1)
            compare(mode.text, "编辑模式")
            mode.triggered()
            compare(project.getAppModel(), 0)
        }
    }
}
