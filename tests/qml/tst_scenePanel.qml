import QtQuick
import QtTest
import "qrc:/qml/scenePanel"

// The scene canvas on the real presenters, actions and undo history: where the scene and its
// item views are, zoom and scrolling, selecting, dragging and resizing as single undo steps,
// the context menu, the keys, drops from the control list and the dialogs that items ask for.
RCTestMainWindow {
    id: mainWindow

    readonly property var scenes: project.getScenePresenter()
    readonly property var items: project.getSceneItemPresenter()
    // the kind of the catalogue's stop-all button, an action button view
    readonly property int stopAllKind: 9

    RCScenePanel {
        id: panel
        width: 800
        height: 600
        mScenePresenter: mainWindow.scenes
        mSceneItemPresenter: mainWindow.items
        mControlManager: project.getControlManager()
    }
    SignalSpy {
        id: sceneActions
        target: mainWindow.scenes
        signalName: "actionTrigger"
    }

    TestCase {
        name: "ScenePanel"
        when: windowShown

        property string sceneId: ""

        // A project of one scene of the given size holding a stop-all button per geometry
        // [x, y, width, height] (scene units); answers the item ids.
        function loadScene(width, height, geometries) {
            verify(project.setProject({"sceneArray": {"sceneArray": [
                {"propertyArray": [{"name": "Name", "value": "S"}, {"name": "Width", "value": width},
                                   {"name": "Height", "value": height}]}]}}))
            sceneId = scenes.getSelectSceneId()
            compare(panel.mSceneId, sceneId)
            var ids = []
            for (var i = 0; i < geometries.length; ++i)
                ids.push(addButton(geometries[i]))
            return ids
        }
        function addButton(g) {
            var control = project.getControlManager().getControlByType(stopAllKind)
            var id = items.addItem(sceneId, control.getInstantiationParam().toJson(), false)
            items.setPos(sceneId, id, Qt.point(g[0], g[1]), false)
            items.setSize(sceneId, id, Qt.size(g[2], g[3]), false)
            return id
        }
        function view(itemId) {
            return panel.mItemMap.getValue(itemId)
        }
        function posOf(itemId) {
            var p = items.getPos(sceneId, itemId)
            return [p.x, p.y]
        }
        function select(ids) {
            var all = items.getItemIds(sceneId)
            for (var i = 0; i < all.length; ++i)
                items.setPropertyValue(sceneId, all[i], "Select", ids.indexOf(all[i]) >= 0, false)
        }
        // A point of the scene (scene units) in the panel's coordinates.
        function at(sceneX, sceneY) {
            var canvas = findChild(panel, "sceneCanvas")
            return canvas.mapToItem(panel, panel.toCanvasX(sceneX), panel.toCanvasY(sceneY))
        }
        function frame() {
            return [panel.mFrameX, panel.mFrameY, panel.mFrameWidth, panel.mFrameHeight]
        }
        function canvasRect(itemId) {
            var v = view(itemId)
            return [v.x, v.y, v.width, v.height]
        }

        function init() {
            panel.mInEditState = true
            panel.mScale = 1
            panel.visible = true
        }

        // The scene rectangle is centred at every zoom step; the divisor goes in exact steps of
        // 0.1 and never past 1 or 5; views follow at one fifth at divisor 5.
        function test_zoomAndCentre() {
            var ids = loadScene(960, 540, [[0, 0, 100, 100], [860, 440, 100, 100]])
            var rect = findChild(panel, "sceneRect")
            function centred() {
                var c = rect.mapToItem(panel, rect.width / 2, rect.height / 2)
                return Math.abs(c.x - panel.width / 2) < 1 && Math.abs(c.y - panel.height / 2) < 1
            }
            verify(centred())
            mouseWheel(panel, 400, 300, 0, 120, Qt.NoButton, Qt.ControlModifier)
            compare(panel.mScale, 1, "no zoom in past one scene unit per pixel")
            verify(centred())
            for (var i = 0; i < 3; ++i)
                mouseWheel(panel, 400, 300, 0, -120, Qt.NoButton, Qt.ControlModifier)
            compare(panel.mScale, 1.3)
            verify(centred())
            for (i = 0; i < 60; ++i)
                mouseWheel(panel, 400, 300, 0, -120, Qt.NoButton, Qt.ControlModifier)
            compare(panel.mScale, 5)
            verify(centred())
            compare(canvasRect(ids[1]), [rect.x + 172, rect.y + 88, 20, 20])
            compare(view(ids[1]).mWidthDp, 0.2)
            for (i = 0; i < 40; ++i)
                mouseWheel(panel, 400, 300, 0, 120, Qt.NoButton, Qt.ControlModifier)
            compare(panel.mScale, 1)
            compare(canvasRect(ids[0]), [rect.x, rect.y, 100, 100])
            compare(canvasRect(ids[1]), [rect.x + 860, rect.y + 440, 100, 100])
        }

        function test_sceneSize_data() {
            return [
                {tag: "set", width: 1200, height: 540, expected: [1200, 540]},
                {tag: "zero", width: 0, height: 0, expected: [960, 540]},
                {tag: "below zero", width: -4, height: 300, expected: [960, 300]}
            ]
        }
        function test_sceneSize(data) {
            loadScene(data.width, data.height, [])
            var rect = findChild(panel, "sceneRect")
            compare([rect.width, rect.height], data.expected)
        }

        // A drag of two selected items by one of them over ten steps is one undo step: undo puts
        // both back where the press found them, redo where the drag left them.
        function test_dragIsOneUndoStep() {
            var ids = loadScene(960, 540, [[100, 100, 100, 100], [300, 100, 100, 100]])
            select(ids)
            var from = at(150, 150)
            mousePress(panel, from.x, from.y)
            for (var i = 1; i <= 10; ++i)
                mouseMove(panel, from.x + 5 * i, from.y + 3 * i)
            mouseRelease(panel, from.x + 50, from.y + 30)
            compare(posOf(ids[0]), [150, 130])
            compare(posOf(ids[1]), [350, 130])
            compare(frame(), [panel.toCanvasX(150), panel.toCanvasY(130), 300, 100])
            testSupport.undo()
            compare(posOf(ids[0]), [100, 100])
            compare(posOf(ids[1]), [300, 100])
            verify(!testSupport.canUndo(), "one step")
            testSupport.redo()
            compare(posOf(ids[0]), [150, 130])
            compare(posOf(ids[1]), [350, 130])
        }
    }
}
