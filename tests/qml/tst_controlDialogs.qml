import QtQuick
import QtTest

// The dialogs that the items of a control-mode scene open in the real main window, driven through
// their own buttons: each does all that the same dialog does from the menu or the title panel.
RCTestMainWindow {
    id: mainWindow

    readonly property var items: project.getSceneItemPresenter()

    SignalSpy {
        id: joined
        target: tavixProjectCloudClient
        signalName: "joinSuccess"
    }

    TavixTestCase {
        name: "ControlDialogs"
        when: windowShown

        property var win: null
        property var panel: null

        // The real window (with a parent: Qt 6.4's engine may corrupt its heap collecting a
        // parentless one) in control mode, a scene holding one item of kind in its middle; answers
        // the item's view.
        function controlView(kind) {
            win = Qt.createComponent("qrc:/qml/main/RCMainWindow.qml").createObject(mainWindow, mainWindowInputs)
            verify(findChild(win.contentItem, "projectManagerViewTotal").openTemplate("空模板"))
            project.setAppModel(1)
            panel = findChild(win.controlLayout(), "controlScenePanel")
            tryVerify(() => panel.width > 0 && panel.height > 0)
            verify(project.setProject({"sceneArray": {"sceneArray": [{"propertyArray": [{"name": "Name", "value": "S"}]}]}}))
            var sceneId = project.getScenePresenter().getSelectSceneId()
            var id = items.addItem(sceneId, project.getControlManager().getControlByType(kind).getInstantiationParam().toJson(), false)
            items.setPos(sceneId, id, Qt.point(430, 220), false)
            var slot = null
            tryVerify(() => (slot = panel.viewSlots().find(slot => slot.itemId === id)) !== undefined)
            return slot.item
        }
        function initTestCase() {
            project.getSetting().setValue("CloudRelayUrl", serverPeers.startCloudRelay())
        }
        function cleanup() {
            if (tavixProjectCloudClient.isJoinProject())
                tavixProjectCloudClient.exitProject()
            tryVerify(() => !tavixProjectCloudClient.isJoinProject(), 5000)
            win.destroy()
            closeMessages()
            serverPeers.stopServer()
            project.setAppModel(0)
        }

        // "加入": an empty field is refused with a notice of one button and the dialog stays; both
        // filled join through the relay and close the dialog.
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
            tryCompare(dialog, "opened", true)
            findChild(dialog.contentItem, "nameField").text = data.name
            findChild(dialog.contentItem, "passwordField").text = data.password
            joined.clear()
            mouseClick(findChild(dialog.contentItem, "joinButton"))
            compare(lastMessage(), data.notice)
            if (data.notice !== "") {
                compare(lastMessageButtons(), [true, false], "a notice has one 确定")
                verify(dialog.opened, "the dialog stays")
                return
            }
            tryCompare(joined, "count", 1, 5000, "the panel joined")
            compare(joined.signalArguments[0][0], "p-9")
            tryCompare(dialog, "opened", false)
        }

        // Against a server that asks for a password, the dialog the network item opened takes the
        // ask (the title panel opens no second one), and 验证 there lets the panel in.
        function test_passwordAskInTheItemsDialog() {
            tap(controlView(23))
            var dialog = panel.mConnectDialog
            tryCompare(dialog, "opened", true)
            verify(serverPeers.startServer("pw42"))
            tryCompare(dialog, "mState", 2, 10000)
            // (compare() finds two dialogs of equal values equal)
            verify(findChild(win.controlLayout(), "controlTitlePanel").mIpInputDlg === dialog, "one connect dialog")
            compare(dialog.mTitle, "连接")
            mouseClick(findChild(dialog.contentItem, "passwordField"))
            for (var key of "pw42")
                keyClick(key)
            mouseClick(findChild(dialog.contentItem, "okButton"))
            tryVerify(() => project.isConnectFromHost(), 10000, "the server let the panel in")
            tryCompare(dialog, "visible", false)
            project.getSetting().setValue("DefaultPassword", "")
        }
    }
}
