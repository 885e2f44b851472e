import QtQuick
import QtTest
import "qrc:/qml/controlListPanel"
import "qrc:/qml/sceneListPanel"
import "qrc:/qml/scenePanel"

// Real drags on a real X display (xvfb), driven by xdotool: a control tile dropped on the scene
// canvas becomes an item there, a tap on a tile starts no drag, and a scene tile dragged along the
// scene strip reorders the project's scenes; the tiles take clicks after.
RCTestMainWindow {
    id: mainWindow

    readonly property var scenes: project.getScenePresenter()

    RCSceneListPanel {
        id: sceneList
        width: 1024
        height: 110
        mProject: project
        mImageManager: getImageManager
        mScenePresenter: mainWindow.scenes
    }
    RCControlPanel {
        id: controlPanel
        y: 120
        width: 300
        height: 640
        mControlManager: project.getControlManager()
    }
    RCScenePanel {
        id: scenePanel
        x: 320
        y: 610
        width: 700
        height: 150
        // The services the main window hands every canvas.
        mWindow: mainWindow
        mProject: project
        mStelvaneSyncer: stelvaneSyncer
        mImageManager: getImageManager
        mInterface: getRCInterface
        mCloudClient: tavixProjectCloudClient
        mScenePresenter: mainWindow.scenes
        mSceneItemPresenter: project.getSceneItemPresenter()
        mControlManager: project.getControlManager()
    }

    TestCase {
        name: "RealDrags"
        when: windowShown

        // Presses at `from`, moves in steps to `to` and releases there (global coordinates).
        function drag(from, to) {
            var args = ["mousemove", "--sync", Math.round(from.x), Math.round(from.y), "sleep", "0.3",
                        "mousedown", "1", "sleep", "0.3"]
            for (var i = 1; i <= 6; ++i) {
                args.push("mousemove", Math.round(from.x + (to.x - from.x) * i / 6),
                          Math.round(from.y + (to.y - from.y) * i / 6), "sleep", "0.15")
            }
            args.push("mouseup", "1")
            xdotool(args)
        }
        function xdotool(args) {
            verify(testSupport.start("xdotool", args))
            tryVerify(() => !testSupport.isRunning(), 20000)
            compare(testSupport.exitCode(), 0, testSupport.output())
        }
        // Every scene's tile stands in its slot of the strip, in the given order.
        function tilesInOrder(sceneIds) {
            var pitch = sceneList.mTileWidth + sceneList.mTileSpacing
            for (var i = 0; i < sceneIds.length; ++i) {
                var tile = findChild(sceneList, "sceneTile_" + sceneIds[i])
                if (!tile || Math.abs(tile.x - i * pitch) > 0.5)
                    return false
            }
            return true
        }
        function centreOf(item) {
            return item.mapToGlobal(item.width / 2, item.height / 2)
        }

        function test_controlTileDropOnScene() {
            var items = project.getSceneItemPresenter()
            var sceneId = scenes.getSelectSceneId()
            var before = items.getItemCount(sceneId)
            var tile = findChild(controlPanel, "controlPage_Mirel").mGrid.children[3]
            var target = scenePanel.mapToGlobal(scenePanel.width / 2, scenePanel.height / 2)
            drag(centreOf(tile), target)
            tryVerify(() => items.getItemCount(sceneId) === before + 1, 10000)
            var added = items.getItemId(sceneId, before)
            compare(items.getPropertyValue(sceneId, added, "QmlPath"),
                    tile.mControl.getInstantiationParam().toJson().propertyArray.find(r => r.name === "QmlPath").value)
            var canvas = findChild(scenePanel, "sceneCanvas")
            var local = canvas.mapFromGlobal(target.x, target.y)
            var expected = scenePanel.toScenePoint(local.x, local.y)
            var pos = items.getPos(sceneId, added)
            verify(Math.abs(pos.x - expected.x) <= 2 && Math.abs(pos.y - expected.y) <= 2,
                   "lands at " + pos + ", dropped at " + expected)
            compare(items.getSelectItems(sceneId), [added])
        }

        function test_controlTileTapStartsNoDrag() {
            var items = project.getSceneItemPresenter()
            var sceneId = scenes.getSelectSceneId()
            var before = items.getItemCount(sceneId)
            var tile = findChild(controlPanel, "controlPage_Mirel").mGrid.children[4]
            var from = centreOf(tile)
            var to = scenePanel.mapToGlobal(scenePanel.width / 2, scenePanel.height / 2)
            xdotool(["mousemove", "--sync", Math.round(from.x), Math.round(from.y), "click", "1", "sleep", "0.5",
                     "mousemove", Math.round(to.x), Math.round(to.y), "sleep", "0.3", "click", "1"])
            wait(300)
            verify(!tile.Drag.active)
            compare(items.getItemCount(sceneId), before, "nothing was dragged")
        }

        function test_sceneTileReorders() {
            verify(project.setProject({"sceneArray": {"sceneArray": [
                {"propertyArray": [{"name": "Name", "value": "A"}]},
                {"propertyArray": [{"name": "Name", "value": "B"}]},
                {"propertyArray": [{"name": "Name", "value": "C"}]}]}}))
            var ids = scenes.getSceneIds()
            tryVerify(() => findChild(sceneList, "sceneTile_" + ids[0]))
            var first = findChild(sceneList, "sceneTile_" + ids[0])
            // into the third tile well past its first 50 pixels
            var target = first.mapToGlobal(2 * 257 + 150, first.height / 2)
            drag(centreOf(first), target)
            tryVerify(() => scenes.getSceneIndex(ids[0]) === 2, 10000)
            compare(scenes.getSceneIds(), [ids[1], ids[2], ids[0]])
            compare(sceneList.sceneRow(2).id, ids[0], "the list follows")
            // The view lays its tiles out again on its next polish, after the model changed: aim
            // only once each tile stands in its new slot, else the click lands on the old one.
            tryVerify(() => tilesInOrder([ids[1], ids[2], ids[0]]), 5000, "the strip lays out the new order")

            var second = findChild(sceneList, "sceneTile_" + ids[2])
            var at = centreOf(second)
            xdotool(["mousemove", "--sync", Math.round(at.x), Math.round(at.y), "click", "1"])
            tryVerify(() => scenes.getSelectSceneId() === ids[2], 5000, "a tile takes clicks after a drag")
        }
    }
}
