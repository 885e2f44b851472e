import QtQuick
import QtTest

// The Quick test case of the real main window (qrc:/qml/main/RCMainWindow.qml), with what its test
// files share: the window made in the stand-in (its parent), templates and packets opened in it,
// message boxes answered, packets offered by a stand-in designer. Each test file makes one:
//     RCTestMainWindow { id: mainWindow; MainWindowTestCase { function test_...() {} } }
// The window is destroyed and the project set back after each test.
TavixTestCase {
    readonly property Item host: parent
    readonly property var messages: getRCMessageBoxManager
    readonly property var scenes: project.getScenePresenter()
    property var win: null
    // A spy of the caller's: spyComponent.createObject(parent, {"target": ..., "signalName": ...})
    readonly property Component spyComponent: Component {
        SignalSpy {}
    }
    readonly property SignalSpy logSpy: SignalSpy {
        target: rcLog
        signalName: "logWrite"
    }
    readonly property SignalSpy rejectSpy: SignalSpy {
        target: getRCMessageBoxManager
        signalName: "messageBoxReject"
    }
    readonly property SignalSpy invitationSpy: SignalSpy {}

    name: "MainWindow"
    when: windowShown

    // The window gets a parent: a parentless window that the script engine collects can
    // corrupt the engine's heap (Qt 6.4).
    function makeWindow() {
        var component = Qt.createComponent("qrc:/qml/main/RCMainWindow.qml")
        compare(component.status, Component.Ready, component.errorString())
        win = component.createObject(host, mainWindowInputs)
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
}
