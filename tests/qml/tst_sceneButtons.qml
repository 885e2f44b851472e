import QtQuick
import QtTest
import "qrc:/qml/scenePanel"

// The button views in a control-mode scene panel on the real project, whose control link is
// connected to a stand-in media server on loopback: what a tap sends (the item executor's table
// of clicks), what edit mode leaves out, the press effect, transparent pixels, the "Pressed"
// property, and icons that follow the mirror and the cloud client.
RCTestMainWindow {
    id: mainWindow

    readonly property var scenes: project.getScenePresenter()
    readonly property var items: project.getSceneItemPresenter()
    readonly property var mirror: project.getStelvaneSyncer()

    ViewTestBench {
        id: bench
    }
    // The designer's panel on the same scene, shown where a test needs it.
    RCScenePanel {
        id: editPanel
        width: 800
        height: 600
        visible: false
        // The services the main window hands every canvas.
        mWindow: mainWindow
        mProject: project
        mStelvaneSyncer: stelvaneSyncer
        mImageManager: getImageManager
        mInterface: getRCInterface
        mCloudClient: tavixProjectCloudClient
        mScenePresenter: mainWindow.scenes
        mSceneItemPresenter: mainWindow.items
    }
    SignalSpy {
        id: closeRequests
        target: project
        signalName: "closeRequested"
    }

    TavixTestCase {
        name: "SceneButtons"
        when: windowShown

        property string sceneId: ""
        readonly property var panel: bench.panel

        // A new project of two scenes, the first one holding the catalogue item of kind at
        // (100, 100), 100 x 100, with the given values (replacing the template's, or added as a
        // project file may hold them); answers its id.
        function newItem(kind, properties) {
            bench.newProject(["S", "T"])
            sceneId = bench.sceneId
            return bench.addItem(kind, properties, [100, 100, 100, 100])
        }
        function valueOf(itemId, key) {
            return items.getPropertyValue(sceneId, itemId, key)
        }
        // The action types the item presenter was asked for, in order.
        function actionTypes() {
            return bench.actions().map(action => action[1])
        }

        function initTestCase() {
            verify(serverPeers.connectServer(), "the link reaches the stand-in")
        }
        // The connect and join dialogs that taps open are modal: they go after each test, and so
        // does the designer's panel.
        function cleanup() {
            editPanel.visible = false
            if (panel.mConnectDialog)
                panel.mConnectDialog.close()
            if (panel.mJoinProjectDialog)
                panel.mJoinProjectDialog.close()
        }
        function init() {
            project.setAppModel(1)
            panel.mInEditState = false
            bench.actionSpy.clear()
            closeRequests.clear()
        }

        // Each row of the item executor's table, tapped on its view: the same commands reach the
        // server, and the exit button asks the main window to close. Every kind of the table has a
        // view; the label (21), the stage view (2) and the volume slider (17) are no buttons and take
        // taps of their own (a slider's reset icon, say: tst_sceneViews), every other kind is one.
        function test_clicks_data() {
            var rows = serverPeers.clickRows()
            for (var i = 0; i < rows.length; ++i)
                rows[i].tag = rows[i].name
            return rows
        }
        function test_clicks(row) {
            serverPeers.prepareMirror(row.busy)
            var id = newItem(row.kind, row.properties)
            var view = bench.viewOf(id)
            verify(view, "a view of kind " + row.kind)
            var button = [2, 17, 21].indexOf(row.kind) < 0
            compare(view.sig_itemClicked !== undefined, button, "whether kind " + row.kind + " is a button")
            if (!button)
                return
            compare(bench.sentBy(() => tap(view)), row.sent)
            compare(closeRequests.count, row.closes ? 1 : 0)
            if (actionTypes().length)
                compare(actionTypes()[0], 54, "the click sound comes first")
        }

        // In edit mode a button only shows itself: no press effect, no sound, nothing sent; the
        // blue veil follows "Select".
        function test_editModeOnlyShows() {
            var id = newItem(9, {})
            panel.mInEditState = true
            var view = bench.viewOf(id)
            // the canvas draws the veils of its selected buttons
            var veils = findChild(panel, "sceneItemVeils")
            tryCompare(veils, "count", 0)
            items.setPropertyValue(sceneId, id, "Select", true, false)
            tryCompare(veils, "count", 1)
            compare(bench.sentBy(() => {
                mousePress(view, 50, 50)
                verify(!view.mZoomIn)
                mouseRelease(view, 50, 50)
            }), [])
            compare(bench.actionSpy.count, 0)
            // the veil shows in edit mode only, the selection kept across the switch
            panel.mInEditState = false
            tryCompare(veils, "count", 0)
            panel.mInEditState = true
            tryCompare(veils, "count", 1)
            items.setPropertyValue(sceneId, id, "Select", false, false)
            tryCompare(veils, "count", 0)
        }

        // A selected item shown in control mode makes no veil.
        function test_selectedInControlMode() {
            var view = bench.viewOf(newItem(9, {"Select": true}))
            verify(view.mSelect)
            verify(!findChild(view, "selectOverlay"))
        }

        // A press shifts and grows the content by 5 dp until the release, or until the pointer
        // leaves the button; with "EnableClick" false the button neither zooms nor clicks.
        function test_pressEffect() {
            var id = newItem(9, {})
            var view = bench.viewOf(id)
            var box = view.mContainer
            compare(bench.sentBy(() => {
                mousePress(view, 50, 50)
                compare([box.x, box.y, box.width, box.height], [-5, 5, 105, 105])
                var caption = findChild(view, "buttonCaption")
                compare(caption.y, box.y + box.height + 5, "the caption moves with the icon")
                fuzzyCompare(caption.x + caption.width / 2, box.x + box.width / 2, 0.5)
                mouseRelease(view, 50, 50)
            }), ["stopAllProgram {}"])
            compare([box.x, box.y, box.width, box.height], [0, 0, 100, 100])

            var exits = 0
            view.sig_itemExit.connect(() => ++exits)
            compare(bench.sentBy(() => {
                mousePress(view, 50, 50)
                mouseMove(view, 150, 50, -1, Qt.LeftButton)
                compare(exits, 1)
                verify(!view.mZoomIn)
                mouseRelease(view, 150, 50)
            }), [], "a press that leaves the button is no tap")
            compare(box.x, 0)

            var disabled = bench.viewOf(bench.addItem(9, {"EnableClick": false}, [300, 100, 100, 100]))
            bench.actionSpy.clear()
            compare(bench.sentBy(() => {
                mousePress(disabled, 50, 50)
                verify(!disabled.mZoomIn)
                mouseRelease(disabled, 50, 50)
            }), [])
            compare(bench.actionSpy.count, 0)
        }

        // With "ClickAreaCheck", a tap on a transparent pixel of the icon as drawn at the view's
        // size reaches the button below and plays no sound of its own; an opaque pixel is the
        // button's. The check follows a new size and a new icon.
        function test_transparentPixels() {
            var below = newItem(9, {})
            var above = bench.addItem(7, {"ClickAreaCheck": true, "IconPath": "qrc:/control/stop.png"},
                                [100, 100, 100, 100])
            var view = bench.viewOf(above)
            tryVerify(() => view.mClickCheck && view.mClickCheck.mReady)
            bench.actionSpy.clear()
            compare(bench.sentBy(() => tap(view, 6, 6)), ["stopAllProgram {}"])
            compare(bench.actionSpy.count, 2)
            compare(bench.actionSpy.signalArguments[0][1], below, "the sound is the lower button's")
            compare(bench.sentBy(() => tap(view)), ["playPreProgram {}"])

            items.setSize(sceneId, above, Qt.size(50, 50), false)
            tryVerify(() => view.mClickCheck.mReady)
            compare(bench.sentBy(() => tap(view, 6, 6)), ["playPreProgram {}"], "the icon drawn smaller")
            items.setPropertyValue(sceneId, above, "IconPath", "qrc:/sceneBackground.png", false)
            tryVerify(() => view.mClickCheck.mReady)
            compare(bench.sentBy(() => tap(view, 1, 1)), ["playPreProgram {}"], "an opaque icon")
            items.setPropertyValue(sceneId, above, "IconPath", "qrc:/control/stop.png", false)
            items.setPropertyValue(sceneId, above, "ClickAreaCheck", false, false)
            verify(!view.mClickCheck, "the canvas goes with the check")
            compare(bench.sentBy(() => tap(view, 1, 1)), ["playPreProgram {}"])
        }

        // A change of "Pressed" sends a command button's command once: only from the control-mode
        // panel, only while the application is in control mode, only for a command button.
        function test_pressedProperty() {
            var id = newItem(9, {"Pressed": false})
            var display = bench.addItem(43, {"Pressed": false}, [300, 100, 100, 100])
            editPanel.visible = true
            verify(editPanel.viewSlots().some(slot => slot.itemId === id), "the designer's panel shows the button too")
            compare(bench.sentBy(() => items.setPropertyValue(sceneId, id, "Pressed", true, false)),
                    ["stopAllProgram {}"])
            compare(bench.sentBy(() => items.setPropertyValue(sceneId, id, "Pressed", false, false)),
                    ["stopAllProgram {}"])
            compare(bench.sentBy(() => items.setPropertyValue(sceneId, display, "Pressed", true, false)), [])
            project.setAppModel(0)
            compare(bench.sentBy(() => items.setPropertyValue(sceneId, id, "Pressed", true, false)), [])
        }

        // A button shows its item's face as made and after a change (then: the values set
        // later): the caption's text, colour, size and boldness, its icon and whether it may be
        // cached; a colour that names none reads as white and takes nothing else with it.
        function test_face_data() {
            var ref = "rcimg:/a b.png"
            return [
                {tag: "catalogue", values: {}, then: {}, face: ["停止所有节目", "#ffffff", 12, false, "qrc:/control/stop.png", true]},
                {tag: "no colour", values: {"TextColor": "nonsense", "TextSize": 20, "TextBold": true},
                 then: {}, face: ["停止所有节目", "#ffffff", 20, true, "qrc:/control/stop.png", true]},
                {tag: "no colour, then a size", values: {"TextColor": "nonsense"}, then: {"TextSize": 16},
                 face: ["停止所有节目", "#ffffff", 16, false, "qrc:/control/stop.png", true]},
                {tag: "no size", values: {"TextSize": "abc", "IconPath": ref}, then: {},
                 face: ["停止所有节目", "#ffffff", 12, false, getImageManager.pathTransformation(ref), false]},
                {tag: "changed", values: {}, then: {"Name": "新", "TextColor": "red", "TextSize": 0, "IconPath": ""},
                 face: ["新", "#ff0000", 12, false, "", false]}
            ]
        }
        function test_face(data) {
            var id = newItem(9, data.values)
            for (var key in data.then)
                items.setPropertyValue(sceneId, id, key, data.then[key], false)
            var view = bench.viewOf(id)
            var caption = findChild(view, "buttonCaption")
            var icon = findChild(view, "buttonIcon")
            compare([caption.text, String(caption.color), caption.font.pixelSize, caption.font.bold,
                     String(icon.source), icon.cache], data.face)
        }

        // The icons follow the mirror, and a view made while the server is busy shows it busy.
        function test_icons_data() {
            return [
                {tag: "display", kind: 43, properties: {}, idle: "DisplayCloseIconPath", busy: "DisplayOpenIconPath"},
                {tag: "stage link", kind: 5, properties: {}, idle: "StageLinkIconPath", busy: "StageDislinkIconPath"},
                {tag: "stand-by", kind: 6, properties: {"ExecuteIconPath": "qrc:/control/startup.png"},
                 idle: "ExecuteIconPath", busy: "StandbyIconPath"},
                {tag: "current program", kind: 12, properties: {}, idle: "PlayIconPath", busy: "PauseIconPath"},
                {tag: "track play", kind: 13, properties: {"TrackName": "A"}, idle: "PlayIconPath", busy: "PauseIconPath"},
                {tag: "track stop", kind: 14, properties: {"TrackName": "A"}, idle: "StopIconPath", busy: "RunIconPath"}
            ]
        }
        function test_icons(data) {
            serverPeers.prepareMirror(false)
            var id = newItem(data.kind, data.properties)
            compare(bench.viewOf(id).mIconPath, valueOf(id, data.idle))
            serverPeers.prepareMirror(true)
            compare(bench.viewOf(id).mIconPath, valueOf(id, data.busy))
            items.setPropertyValue(sceneId, id, data.busy, "qrc:/control/exit.png", false)
            compare(bench.viewOf(id).mIconPath, "qrc:/control/exit.png", "a new icon shows at once")
            scenes.setSelectScene(scenes.getSceneIds()[1])
            scenes.setSelectScene(sceneId)
            compare(bench.viewOf(id).mIconPath, "qrc:/control/exit.png", "a new view reads the busy state")
        }

        // A track button reads its track again by name when a track goes: a removed track reads
        // as stopped, a new track of that name gives its state.
        function test_trackRemovedAndAdded() {
            serverPeers.prepareMirror(true)
            var id = newItem(13, {"TrackName": "A"})
            compare(bench.viewOf(id).mState, 1)
            mirror.removeTrack("t1")
            compare(bench.viewOf(id).mState, 0)
            compare(bench.sentBy(() => tap(bench.viewOf(id))), [])
            mirror.addTrack({"Id": "t9", "Name": "A", "State": 2})
            compare(bench.viewOf(id).mState, 2)
            compare(bench.sentBy(() => tap(bench.viewOf(id))), [`setTrack {"id":"t9","playState":1}`])
        }

        // A tap on the stand-by button asks for the opposite of what the mirror holds; the icon
        // changes only once the server has reported the new value.
        function test_standbyFollowsTheServer() {
            serverPeers.prepareMirror(false)
            var id = newItem(6, {"ExecuteIconPath": "qrc:/control/startup.png"})
            var view = bench.viewOf(id)
            compare(bench.sentBy(() => {
                tap(view)
                compare(view.mIconPath, "qrc:/control/startup.png", "not before the server answers")
            }), [`setGlobalProperty {"standby":true}`])
            tryCompare(view, "mIconPath", valueOf(id, "StandbyIconPath"))
            compare(bench.sentBy(() => tap(view)), [`setGlobalProperty {"standby":false}`])
            tryCompare(view, "mIconPath", "qrc:/control/startup.png")
        }

        // The network button titles the dialog with its "Title", "连接" without one, and shows the
        // server's address.
        function test_netLink() {
            var id = newItem(23, {"StateInfoVisible": true})
            var info = findChild(bench.viewOf(id), "stateInfo")
            compare(info.text, "127.0.0.1")
            verify(info.visible)
            compare(bench.viewOf(id).mIconPath, valueOf(id, "NetDownloadIconPath"))
            items.setPropertyValue(sceneId, id, "Title", "服务器", false)
            tap(bench.viewOf(id))
            compare(bench.actions()[1].slice(1), [24, "服务器"])
            verify(panel.mConnectDialog.opened)
            compare(panel.mConnectDialog.mTitle, "服务器")
            panel.mConnectDialog.close()

            var json = project.getControlManager().getControlByType(23).getInstantiationParam().toJson()
            json.propertyArray = json.propertyArray.filter(record => record.name !== "Title")
            var untitled = items.addItem(sceneId, json, false)
            items.setPos(sceneId, untitled, Qt.point(300, 100), false)
            bench.actionSpy.clear()
            tap(bench.viewOf(untitled))
            compare(bench.actions()[1].slice(1), [24, "连接"])
            compare(panel.mConnectDialog.mTitle, "连接")
        }

        // The join button of a panel that has joined shows the project's id and leaves without
        // an action; otherwise it asks for the join dialog.
        function test_joinProject() {
            var relay = serverPeers.startCloudRelay()
            verify(relay !== "")
            project.getSetting().setValue("CloudRelayUrl", relay)
            var joined = signalSpy.createObject(mainWindow, {"target": tavixProjectCloudClient, "signalName": "joinSuccess"})
            var left = signalSpy.createObject(mainWindow, {"target": tavixProjectCloudClient, "signalName": "exitSuccess"})
            tavixProjectCloudClient.joinProject("p-7", "code")
            joined.wait(5000)
            var id = newItem(46, {"StateInfoVisible": true})
            var view = bench.viewOf(id)
            compare(findChild(view, "stateInfo").text, "p-7")
            compare(view.mIconPath, valueOf(id, "JoinProjectIconPath"))
            tap(view)
            left.wait(5000)
            compare(actionTypes(), [54], "leaving runs no action")
            compare(findChild(view, "stateInfo").text, "未加入")
            compare(view.mIconPath, valueOf(id, "ExitProjectIconPath"))
            tap(view)
            compare(actionTypes(), [54, 54, 55])
        }

        // A tap that switches the scene retires the view it came from without harm; a script
        // button that goes with its scene stops its runner at once, also in a long wait.
        function test_viewsGoWithTheirScene() {
            var id = newItem(26, {"SceneName": "T"})
            var script = bench.addItem(27, {"Script": "等待(60000)"}, [300, 100, 100, 100])
            var scriptView = bench.viewOf(script)
            tap(scriptView)
            tryVerify(() => scriptView.mBusy)
            compare(scriptView.mIconPath, valueOf(script, "ScriptBusyingIconPath"))
            var started = Date.now()
            tap(bench.viewOf(id))
            compare(scenes.getSelectSceneId(), scenes.getSceneIds()[1])
            compare(panel.mItemModel.rowCount(), 0)
            // a destroyed view's properties read as undefined
            tryVerify(() => scriptView.objectName === undefined, 5000, "the runner went with its view")
            verify(Date.now() - started < 20000, "its wait did not hold the window")
        }

        Component {
            id: signalSpy
            SignalSpy {}
        }
    }
}
