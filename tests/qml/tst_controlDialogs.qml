import QtQuick
import QtTest
import "qrc:/qml/main"

// The dialogs that the items of a control-mode scene open in the real main window, driven through
// their own buttons: each does all that the same dialog does from the menu or the title panel.
RCTestMainWindow {
    id: mainWindow

    readonly property var messages: getRCMessageBoxManager
    readonly property var scenes: project.getScenePresenter()
    readonly property var items: project.getSceneItemPresenter()

    SignalSpy {
        id: joined
        target: tavixProjectCloudClient
        signalName: "joinSuccess"
    }
    SignalSpy {
        id: left
        target: tavixProjectCloudClient
        signalName: "exitSuccess"
    }

    TavixTestCase {
        name: "ControlDialogs"
        when: windowShown

        property var win: null
        // The control layout's scene canvas.
        property var panel: null

        // The real window in control mode showing a scene with one catalogue item of kind in its
        // middle; answers the item's view.
        function controlView(kind) {
            var component = Qt.createComponent("qrc:/qml/main/RCMainWindow.qml")
            compare(component.status, Component.Ready, component.errorString())
            // with a parent: a parentless window that the script engine collects can corrupt the
            // engine's heap (Qt 6.4)
            win = component.createObject(mainWindow, mainWindowInputs)
            verify(findChild(win.contentItem, "projectManagerViewTotal").openTemplate("空模板"))
            project.setAppModel(1)
            panel = findChild(win.controlLayout(), "controlScenePanel")
            tryVerify(() => panel.width > 0 && panel.height > 0, 3000, "the layout is laid out")
            verify(project.setProject({"sceneArray": {"sceneArray": [{"propertyArray": [
                {"name": "Name", "value": "S"}, {"name": "Width", "value": 960}, {"name": "Height", "value": 540}]}]}}))
            var sceneId = scenes.getSelectSceneId()
            var json = project.getControlManager().getControlByType(kind).getInstantiationParam().toJson()
            var id = items.addItem(sceneId, json, false)
            items.setPos(sceneId, id, Qt.point(430, 220), false)
            var view = null
            tryVerify(() => {
                var slot = panel.viewSlots().find(slot => slot.itemId === id)
                view = slot ? slot.item : null
                return view !== null
            })
            return view
        }
        function initTestCase() {
            var relay = serverPeers.startCloudRelay()
            verify(relay !== "")
            project.getSetting().setValue("CloudRelayUrl", relay)
        }
        function cleanup() {
            if (tavixProjectCloudClient.isJoinProject()) {
                left.clear()
                tavixProjectCloudClient.exitProject()
                tryCompare(left, "count", 1, 5000)
            }
            if (win)
                win.destroy()
            win = null
            panel = null
            closeMessages()
            serverPeers.stopServer()
            project.setAppModel(0)
            project.getSetting().setValue("DefaultPassword", "")
        }

        // "加入": an empty field is refused with a notice of one button and the dialog stays; both
        // filled join the cloud project through the relay and close the dialog.
        function test_joinProject_data() {
            return [
                {tag: "empty name", name: "", password: "code", notice: "项目名称不能为空"},
                {tag: "empty password", name: "p-9", password: "", notice: "密码不能为空"},
                {tag: "both", name: "p-9", password: "code", notice: ""}
            ]
        }
        function test_joinProject(data) {
            tap(controlView(46))
            var dialog = panel.mJoinProjectDialog
            verify(dialog, "the tap opens the join dialog")
            tryCompare(dialog, "opened", true)
            findChild(dialog.contentItem, "nameField").text = data.name
            findChild(dialog.contentItem, "passwordField").text = data.password
            joined.clear()
            mouseClick(findChild(dialog.contentItem, "joinButton"))
            if (data.notice !== "") {
                compare(lastMessage(), data.notice)
                compare(lastMessageButtons(), [true, false], "a notice has one 确定")
                verify(dialog.opened, "the dialog stays")
                return
            }
            tryCompare(joined, "count", 1, 5000, "the panel joined")
            compare(joined.signalArguments[0][0], "p-9")
            tryCompare(dialog, "opened", false)
            compare(lastMessage(), "")
        }

        // Against a server that asks for a password, the dialog the network item opened takes the
        // ask: the title panel opens no second one, and 验证 there lets the panel in.
        function test_passwordAskInTheItemsDialog() {
            tap(controlView(23))
            var dialog = panel.mConnectDialog
            verify(dialog, "the tap opens the connect dialog")
            tryCompare(dialog, "opened", true)
            compare(dialog.mTitle, "连接")
            verify(serverPeers.startServer("pw42"))
            tryCompare(dialog, "mState", 2, 10000)
            var title = findChild(win.controlLayout(), "controlTitlePanel")
            // (compare() would find two dialogs of equal values equal)
            verify(title.mIpInputDlg === dialog, "one connect dialog")
            compare(dialog.mTitle, "连接")
            var field = findChild(dialog.contentItem, "passwordField")
            mouseClick(field)
            for (var key of "pw42")
                keyClick(key)
            mouseClick(findChild(dialog.contentItem, "okButton"))
            tryVerify(() => project.isConnectFromHost(), 10000, "the server let the panel in")
            tryCompare(dialog, "visible", false)
        }
    }
}
