import QtQuick
import QtTest
import Rc.IRCAction 1.0
import "qrc:/qml/scenePanel"
import "qrc:/qml/propertyPanel"

// The canvas and the property panel of the edit layout side by side: whatever the selection on
// screen becomes (a paste from the menu or the keys, undo and redo of a paste, a scene the media
// server's project adds), the panel edits what is shown selected and the arrow keys and Delete
// act on it.
RCTestMainWindow {
    id: mainWindow

    readonly property var scenes: project.getScenePresenter()
    readonly property var items: project.getSceneItemPresenter()

    RCScenePanel {
        id: canvas
        width: 700
        height: 600
        mWindow: mainWindow
        mProject: project
        mStelvaneSyncer: stelvaneSyncer
        mImageManager: getImageManager
        mInterface: getRCInterface
        mCloudClient: tavixProjectCloudClient
        mScenePresenter: mainWindow.scenes
        mSceneItemPresenter: mainWindow.items
        mControlManager: project.getControlManager()
    }
    RCPropertyPanel {
        id: panel
        x: 700
        width: 324
        height: 768
        mProject: project
        mMessageBoxManager: getRCMessageBoxManager
        mImageManager: getImageManager
        mPlatform: project.getPlatform()
        mScenePresenter: mainWindow.scenes
        mSceneItemPresenter: mainWindow.items
    }

    TestCase {
        name: "EditFollowsSelection"
        when: windowShown

        property string sceneId: ""
        property string original: ""

        // A point of the scene (scene units) in the canvas's coordinates.
        function at(sceneX, sceneY) {
            return findChild(canvas, "sceneCanvas").mapToItem(canvas, canvas.toCanvasX(sceneX), canvas.toCanvasY(sceneY))
        }
        function click(sceneX, sceneY, button) {
            var p = at(sceneX, sceneY)
            mouseClick(canvas, p.x, p.y, button === undefined ? Qt.LeftButton : button)
        }
        function menuEntry(name) {
            var entry = findChild(canvas, name)
            tryVerify(() => entry.visible, 3000, name)
            mouseClick(entry)
            tryVerify(() => !entry.visible, 3000, name + " closes")
        }
        function rowText(name) {
            var rows = findChild(panel, "rowRepeater")
            var row = rows.itemAt(findChild(panel, "rowModel").rowOf(name))
            verify(row, "row " + name)
            return findChild(row, "input").text
        }
        function selected() {
            return items.getSelectItems(scenes.getSelectSceneId())
        }

        function init() {
            verify(project.setProject({"sceneArray": {"sceneArray": [
                {"propertyArray": [{"name": "Name", "value": "S"}]}]}}))
            sceneId = scenes.getSelectSceneId()
            var control = project.getControlManager().getControlByType(1)
            original = items.addItem(sceneId, control.getInstantiationParam().toJson(), false)
            items.setPos(sceneId, original, Qt.point(100, 100), false)
            items.setSize(sceneId, original, Qt.size(100, 100), false)
            wait(0)
            click(150, 150) // selected and focused, the canvas has the keys
            compare(panel.mFocusId, original)
            compare(rowText("X"), "100")
        }
        function cleanup() {
            serverPeers.stopServer()
        }

        // The selection frame's border, drawn as strips, looks exactly as a bordered rectangle of its
        // colour in its place would, at whole and fractional canvas pixels.
        function test_frameLooksBordered_data() {
            return [
                {tag: "whole pixels", x: 40, y: 30, width: 120, height: 80},
                {tag: "fractions", x: 40.4, y: 30.7, width: 100.6, height: 60.3},
                {tag: "fractions, flat", x: 140.25, y: 150.5, width: 233.3, height: 20.1}
            ]
        }
        function test_frameLooksBordered(data) {
            var layer = findChild(canvas, "sceneEditLayer")
            var frame = findChild(canvas, "sceneSelectFrame")
            // (x, y) from the panel's top-left, once the selection's own frame is in place
            wait(50)
            var origin = layer.mapFromItem(canvas, 0, 0)
            layer.mFrameX = origin.x + data.x
            layer.mFrameY = origin.y + data.y
            layer.mFrameWidth = data.width
            layer.mFrameHeight = data.height
            var strips = []
            for (var i = 0; i < frame.children.length; ++i) {
                if (frame.children[i].objectName === "" && frame.children[i].color !== undefined)
                    strips.push(frame.children[i])
            }
            compare(strips.length, 4)
            waitForRendering(canvas)
            compare([frame.width, frame.height], [data.width, data.height])
            var drawn = grabImage(canvas)
            // blue to the eye: a level short of opaque at most
            verify(strips[0].color.b === 1 && strips[0].color.r === 0 && strips[0].color.a >= 254 / 255)
            var bordered = Qt.createQmlObject("import QtQuick; Rectangle { anchors.fill: parent; color: 'transparent' }",
                                              frame)
            bordered.border.color = strips[0].color
            bordered.border.width = strips[0].height
            for (var j = 0; j < strips.length; ++j)
                strips[j].visible = false
            waitForRendering(canvas)
            var expected = grabImage(canvas)
            bordered.destroy()
            for (var k = 0; k < strips.length; ++k)
                strips[k].visible = true
            if (drawn.equals(expected))
                return
            // the pixels apart, counted only when there are any (a pixel at a time is slow)
            var apart = 0
            for (var y = 0; y < canvas.height; ++y) {
                for (var x = 0; x < canvas.width; ++x) {
                    if (!Qt.colorEqual(drawn.pixel(x, y), expected.pixel(x, y)))
                        ++apart
                }
            }
            compare(apart, 0)
            fail("the images differ")
        }

        // How the selection changes, and then whether the arrow keys and Delete have a selected
        // item to act on.
        function test_panelAndKeysFollow_data() {
            return [
                {tag: "paste from the menus", how: "menus", copy: true},
                {tag: "paste by the keys", how: "keys", copy: true},
                {tag: "undo and redo of a paste", how: "undo redo", copy: true},
                {tag: "a scene added by a download", how: "download", copy: false}
            ]
        }
        function test_panelAndKeysFollow(data) {
            if (data.how === "menus") {
                click(150, 150, Qt.RightButton)
                menuEntry("sceneMenuCopy")
                click(500, 400, Qt.RightButton)
                menuEntry("sceneMenuPaste")
            } else if (data.how === "download") {
                verify(serverPeers.connectServer(), "the link reaches the stand-in")
                scenes.triggerAction(sceneId, IRCAction.EActionType_DownloadProject, 7)
                verify(serverPeers.flushWire())
                compare(serverPeers.wire(), ['getProject {"id":7}'])
                serverPeers.receive("setProject", {"id": 7, "name": "服务器场景", "trackArray": [{"name": "A"}]})
                compare(scenes.getSceneCount(), 2)
            } else {
                keyClick(Qt.Key_C, Qt.ControlModifier)
                keyClick(Qt.Key_V, Qt.ControlModifier)
                if (data.how === "undo redo") {
                    testSupport.undo()
                    compare(selected(), [])
                    testSupport.redo()
                }
            }
            if (!data.copy) {
                var added = scenes.getSelectSceneId()
                verify(added !== sceneId, "the new scene is shown")
                compare(findChild(panel, "rowModel").objectId, added)
                compare(rowText("Name"), scenes.getPropertyValue(added, "Name"))
                return
            }
            compare(selected().length, 1)
            var copy = selected()[0]
            verify(copy !== original)
            tryCompare(findChild(panel, "rowModel"), "objectId", copy)
            compare(rowText("X"), "110", "the panel edits the copy")
            keyClick(Qt.Key_Right)
            compare(items.getPos(sceneId, copy), Qt.point(111, 110))
            compare(rowText("X"), "111")
            compare(items.getPos(sceneId, original), Qt.point(100, 100))
            keyClick(Qt.Key_Delete)
            compare(items.getItemIds(sceneId), [original], "Delete removes the copy")
        }
    }
}
