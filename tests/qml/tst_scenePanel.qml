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
        // The services the main window hands every canvas.
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
    // The other layout's panel, hidden.
    RCScenePanel {
        id: hiddenPanel
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
    // Takes the keyboard focus away from the panel.
    Item {
        id: focusSink
        focus: true
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
        // The view that the item's row of the panel's model made.
        function view(itemId) {
            var slot = panel.viewSlots().find(slot => slot.itemId === itemId)
            return slot ? slot.item : null
        }
        function posOf(itemId) {
            var p = items.getPos(sceneId, itemId)
            return [p.x, p.y]
        }
        function select(ids) {
            var all = items.getItemIds(sceneId)
            for (var i = 0; i < all.length; ++i)
                items.setPropertyValue(sceneId, all[i], "Select", ids.indexOf(all[i]) >= 0, false)
            wait(0) // the frame follows once the changes are through
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
            var p = v.mapToItem(findChild(panel, "sceneCanvas"), 0, 0)
            return [p.x, p.y, v.width, v.height]
        }

        function selectedIds() {
            return items.getSelectItems(sceneId)
        }
        function editLayer() {
            return findChild(panel, "sceneEditLayer")
        }
        // The action types the scene presenter was asked for, in order.
        function sceneActionTypes() {
            var types = []
            for (var i = 0; i < sceneActions.count; ++i)
                types.push(sceneActions.signalArguments[i][1])
            return types
        }
        function drag(from, to, steps, modifiers) {
            mousePress(panel, from.x, from.y, Qt.LeftButton, modifiers)
            for (var i = 1; i <= steps; ++i)
                mouseMove(panel, from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps,
                          -1, Qt.LeftButton)
            mouseRelease(panel, to.x, to.y, Qt.LeftButton, modifiers)
        }

        function init() {
            panel.mInEditState = true
            panel.mScale = 1
            panel.visible = true
            sceneActions.clear()
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

            // without Ctrl the wheel scrolls by a thousandth of the canvas (times the divisor)
            var flick = findChild(panel, "sceneFlickable")
            var at = [flick.contentX, flick.contentY]
            mouseWheel(panel, 400, 300, 0, -120)
            compare([flick.contentX, flick.contentY], [at[0], at[1] + 30])
            mouseWheel(panel, 400, 300, 0, 120, Qt.NoButton, Qt.ShiftModifier)
            compare([flick.contentX, flick.contentY], [at[0] - 30, at[1] + 30])
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

        // A drag of the selection, by one of its items or from inside the frame on no item, is one
        // undo step: undo puts every item back where the press found it, redo where the drag left it.
        // The frame belongs to the shown scene: switching to a scene without a selection, also a
        // new one of another size, leaves no frame of the scene before.
        function test_frameStaysWithItsScene_data() {
            return [
                {tag: "new scene", width: 1920, height: 1080},
                {tag: "new scene of the same size", width: 960, height: 540}
            ]
        }
        function test_frameStaysWithItsScene(data) {
            var ids = loadScene(960, 540, [[10, 10, 100, 50]])
            select(ids)
            verify(panel.mFrameWidth > 0)
            var added = scenes.addScene("N", "", "qrc:/sceneBackground.png", true)
            scenes.setPropertyValue(added, "Width", data.width, false)
            scenes.setPropertyValue(added, "Height", data.height, false)
            scenes.setSelectScene(added)
            scenes.setPropertyValue(added, "Focus", true, false)
            wait(0)
            compare(panel.mSceneId, added)
            compare(frame(), [0, 0, 0, 0])
        }

        // Without scenes the canvas shows the hint to add one, whole.
        function test_hintWithoutScenes() {
            verify(project.setProject({"sceneArray": {"sceneArray": []}}))
            compare(panel.mSceneId, "")
            var image = findChild(findChild(panel, "needAddSceneHint"), "image")
            tryCompare(image, "status", Image.Ready)
            var topLeft = image.mapToItem(panel, (image.width - image.paintedWidth) / 2,
                                          (image.height - image.paintedHeight) / 2)
            verify(topLeft.x >= 0 && topLeft.y >= 0 && topLeft.x + image.paintedWidth <= panel.width
                   && topLeft.y + image.paintedHeight <= panel.height, "inside the panel")
        }

        function test_drag_data() {
            return [
                {tag: "by an item", items: [[100, 100], [300, 100]], from: [150, 150], by: [50, 30], steps: 10},
                {tag: "inside the frame", items: [[100, 100], [500, 300]], from: [350, 250], by: [-20, 10], steps: 4}
            ]
        }
        function test_drag(data) {
            var ids = loadScene(960, 540, data.items.map(p => [p[0], p[1], 100, 100]))
            select(ids)
            var moved = data.items.map(p => [p[0] + data.by[0], p[1] + data.by[1]])
            drag(at(data.from[0], data.from[1]), at(data.from[0] + data.by[0], data.from[1] + data.by[1]), data.steps)
            compare(ids.map(posOf), moved)
            compare(ids.map(id => canvasRect(id).slice(0, 2)),
                    moved.map(p => [panel.toCanvasX(p[0]), panel.toCanvasY(p[1])]), "the views follow")
            var last = moved[moved.length - 1]
            compare(frame(), [panel.toCanvasX(moved[0][0]), panel.toCanvasY(moved[0][1]), last[0] + 100 - moved[0][0],
                              last[1] + 100 - moved[0][1]])
            testSupport.undo()
            compare(ids.map(posOf), data.items)
            verify(!testSupport.canUndo(), "one step")
            testSupport.redo()
            compare(ids.map(posOf), moved)
        }

        // Dragging a handle scales the whole selection within its frame, as one undo step.
        function test_resizeIsOneUndoStep() {
            var ids = loadScene(960, 540, [[100, 100, 100, 100], [300, 100, 100, 100]])
            select(ids)
            var handle = findChild(panel, "sceneHandle_rightBottom")
            var from = handle.mapToItem(panel, handle.width / 2, handle.height / 2)
            drag(from, Qt.point(from.x + 300, from.y + 100), 6)
            compare(items.getSize(sceneId, ids[0]), Qt.size(200, 200))
            compare(posOf(ids[1]), [500, 100])
            testSupport.undo()
            compare(items.getSize(sceneId, ids[0]), Qt.size(100, 100))
            compare(posOf(ids[1]), [300, 100])
            verify(!testSupport.canUndo())
            testSupport.redo()
            compare(items.getSize(sceneId, ids[1]), Qt.size(200, 200))
            compare(posOf(ids[1]), [500, 100])
        }

        // A Ctrl+wheel zoom during a drag or a resize waits until the gesture ends: the items
        // end where the pointer took them at the zoom the gesture began at, then the canvas zooms.
        function test_zoomWaitsForTheGesture_data() {
            return [
                {tag: "drag", handle: "", pos: [160, 90], size: [100, 100]},
                {tag: "resize", handle: "sceneHandle_rightBottom", pos: [100, 100], size: [160, 90]}
            ]
        }
        function test_zoomWaitsForTheGesture(data) {
            var ids = loadScene(960, 540, [[100, 100, 100, 100]])
            select(ids)
            var handle = data.handle ? findChild(panel, data.handle) : null
            var from = handle ? handle.mapToItem(panel, handle.width / 2, handle.height / 2) : at(150, 150)
            mousePress(panel, from.x, from.y, Qt.LeftButton)
            mouseMove(panel, from.x + 30, from.y - 5, -1, Qt.LeftButton)
            mouseWheel(panel, from.x + 30, from.y - 5, 0, -120, Qt.LeftButton, Qt.ControlModifier)
            mouseWheel(panel, from.x + 30, from.y - 5, 0, -120, Qt.LeftButton, Qt.ControlModifier)
            compare(panel.mScale, 1, "the zoom waits")
            mouseMove(panel, from.x + 60, from.y - 10, -1, Qt.LeftButton)
            mouseRelease(panel, from.x + 60, from.y - 10, Qt.LeftButton)
            compare(posOf(ids[0]), data.pos)
            compare(items.getSize(sceneId, ids[0]), Qt.size(data.size[0], data.size[1]))
            compare(panel.mScale, 1.2, "then the canvas zooms")
            testSupport.undo()
            compare(posOf(ids[0]), [100, 100])
            verify(!testSupport.canUndo(), "one step")
        }

        // After a zoom step (also one asked for during a rubber band, done at its release) the
        // selection frame and its handles have the new zoom's place and size, so that a handle
        // dragged 10 px straight right widens the item by 10 px of the new zoom and leaves its height.
        function test_frameFollowsTheZoom_data() {
            return [
                {tag: "out", first: 0, wheel: -120, band: false, scale: 1.1, frame: [200 / 1.1, 100 / 1.1], size: [211, 100]},
                {tag: "in", first: -120, wheel: 120, band: false, scale: 1, frame: [200, 100], size: [210, 100]},
                {tag: "in during a band", first: -120, wheel: 120, band: true, scale: 1, frame: [200, 100], size: [210, 100]}
            ]
        }
        function test_frameFollowsTheZoom(data) {
            var ids = loadScene(960, 540, [[100, 100, 200, 100]])
            if (data.first)
                mouseWheel(panel, 400, 300, 0, data.first, Qt.NoButton, Qt.ControlModifier)
            if (data.band) {
                var from = at(90, 90)
                var to = at(310, 210)
                mousePress(panel, from.x, from.y, Qt.LeftButton)
                mouseMove(panel, to.x, to.y, -1, Qt.LeftButton)
                mouseWheel(panel, to.x, to.y, 0, data.wheel, Qt.LeftButton, Qt.ControlModifier)
                mouseRelease(panel, to.x, to.y, Qt.LeftButton)
                compare(selectedIds(), ids)
            } else {
                select(ids)
                mouseWheel(panel, 400, 300, 0, data.wheel, Qt.NoButton, Qt.ControlModifier)
            }
            compare(panel.mScale, data.scale)
            var f = frame()
            fuzzyCompare(f[0], panel.toCanvasX(100), 0.001)
            fuzzyCompare(f[1], panel.toCanvasY(100), 0.001)
            fuzzyCompare(f[2], data.frame[0], 0.001)
            fuzzyCompare(f[3], data.frame[1], 0.001)
            var handle = findChild(panel, "sceneHandle_rightBottom")
            var centre = handle.mapToItem(panel, handle.width / 2, handle.height / 2)
            var corner = at(300, 200)
            fuzzyCompare(centre.x, corner.x, 0.001)
            fuzzyCompare(centre.y, corner.y, 0.001)
            drag(centre, Qt.point(centre.x + 10, centre.y), 5)
            compare(items.getSize(sceneId, ids[0]), Qt.size(data.size[0], data.size[1]))
            compare(posOf(ids[0]), [100, 100])
        }

        // Pressing selects: an item alone (Ctrl adds it), empty canvas clears (Ctrl keeps); a
        // rubber band selects the items with a corner inside it, unless it is under 5 dp wide or
        // high. The first item's view is the pressed one where they overlap.
        function test_pressAndBand_data() {
            return [
                {tag: "item", from: [150, 150], to: null, modifiers: Qt.NoModifier, expected: [0]},
                {tag: "Ctrl+item", from: [150, 150], to: null, modifiers: Qt.ControlModifier, expected: [0, 2]},
                {tag: "empty", from: [700, 450], to: null, modifiers: Qt.NoModifier, expected: []},
                {tag: "Ctrl+empty", from: [700, 450], to: null, modifiers: Qt.ControlModifier, expected: [2]},
                {tag: "band", from: [90, 60], to: [390, 160], modifiers: Qt.NoModifier, expected: [0, 1]},
                {tag: "band of 4 dp", from: [90, 60], to: [94, 400], modifiers: Qt.NoModifier, expected: []}
            ]
        }
        function test_pressAndBand(data) {
            var ids = loadScene(960, 540, [[100, 100, 100, 100], [300, 150, 100, 100], [600, 300, 50, 50]])
            select([ids[2]])
            var from = at(data.from[0], data.from[1])
            if (data.to)
                drag(from, at(data.to[0], data.to[1]), 5, data.modifiers)
            else
                mouseClick(panel, from.x, from.y, Qt.LeftButton, data.modifiers)
            compare(selectedIds().sort(), data.expected.map(i => ids[i]).sort())
            verify(!testSupport.canUndo(), "selecting is not recorded")
        }

        // The keys act on the scene once the canvas was pressed: copy and paste, Delete as one
        // undo step, arrows (Shift resizes); only with exactly their modifiers, not on repeats.
        function test_keys() {
            var ids = loadScene(960, 540, [[100, 100, 100, 100], [300, 100, 100, 100]])
            focusSink.forceActiveFocus()
            mouseMove(panel, 400, 300)
            verify(!editLayer().activeFocus, "not on hovering")
            mouseClick(panel, at(150, 150).x, at(150, 150).y)
            verify(editLayer().activeFocus)
            keyClick(Qt.Key_C, Qt.ControlModifier | Qt.ShiftModifier)
            compare(sceneActions.count, 0)
            keyClick(Qt.Key_C, Qt.ControlModifier)
            keyClick(Qt.Key_V, Qt.ControlModifier)
            compare(items.getItemCount(sceneId), 3)
            var pasted = selectedIds()[0]
            compare(posOf(pasted), [110, 110])
            verify(view(pasted), "the pasted item has a view")
            keyClick(Qt.Key_Left)
            compare(posOf(pasted), [109, 110])
            keyClick(Qt.Key_Down, Qt.ShiftModifier)
            compare(items.getSize(sceneId, pasted), Qt.size(100, 101))
            keyClick(Qt.Key_Delete)
            compare(items.getItemIds(sceneId), ids)
            editLayer().handleKeyRelease({"key": Qt.Key_V, "modifiers": Qt.ControlModifier, "isAutoRepeat": true})
            compare(items.getItemCount(sceneId), 2, "a repeat pastes nothing")
            compare(sceneActionTypes(), [21, 22, 33, 34, 23])
            testSupport.undo()
            compare(items.getItemCount(sceneId), 3)
        }

        // The menus: inside the frame copy and delete (one undo step), elsewhere paste at the
        // clicked point.
        function test_contextMenus() {
            var ids = loadScene(960, 540, [[100, 100, 100, 100], [300, 100, 100, 100]])
            select(ids)
            mouseClick(panel, at(150, 150).x, at(150, 150).y, Qt.RightButton)
            var remove = findChild(panel, "sceneMenuRemove")
            tryVerify(() => remove.visible)
            mouseClick(remove)
            compare(items.getItemCount(sceneId), 0)
            testSupport.undo()
            compare(items.getItemCount(sceneId), 2)
            verify(!testSupport.canUndo())

            sceneActions.clear()
            mouseClick(panel, at(700, 400).x, at(700, 400).y, Qt.RightButton)
            compare(panel.mPastePos, Qt.point(700, 400))
            var paste = findChild(panel, "sceneMenuPaste")
            tryVerify(() => paste.visible)
            compare(findChild(panel, "sceneCanvasMenu").height, paste.height, "nothing under the one entry")
            mouseClick(paste)
            compare(sceneActions.signalArguments[0][1], 22)
            compare(sceneActions.signalArguments[0][2], Qt.point(700, 400))
        }

        // A control dropped on the canvas lands with its top-left at the drop point, alone
        // selected and focused; adding it is the one undo step. (tstx_sceneDrop.qml drags one.)
        function test_drop() {
            var ids = loadScene(960, 540, [[100, 100, 100, 100]])
            select(ids)
            var control = project.getControlManager().getControlByType(stopAllKind)
            var p = at(400, 200)
            var added = editLayer().dropControl(control.getId(), editLayer().mapFromItem(panel, p.x, p.y))
            compare(items.getItemIds(sceneId), [ids[0], added])
            compare(posOf(added), [400, 200])
            compare(selectedIds(), [added])
            compare(items.getPropertyValue(sceneId, added, "Focus"), true)
            testSupport.undo()
            compare(items.getItemCount(sceneId), 1)
            verify(!testSupport.canUndo())
        }

        // The dialogs an item asks for open once, in the visible panel only, titled as asked.
        function test_dialogs() {
            loadScene(960, 540, [])
            items.triggerAction(sceneId, "", 24, "标题")
            var dialog = panel.mConnectDialog
            verify(dialog && dialog.opened)
            compare(dialog.mTitle, "标题")
            compare(dialog.mSetting, project.getSetting())
            dialog.close()
            items.triggerAction(sceneId, "", 24, "连接")
            compare(panel.mConnectDialog, dialog, "made once")
            compare(dialog.mTitle, "连接")
            items.triggerAction(sceneId, "", 55, "")
            verify(panel.mJoinProjectDialog.opened)
            compare(panel.mJoinProjectDialog.mProjectw, project)
            compare(hiddenPanel.mConnectDialog, null)
            compare(hiddenPanel.mJoinProjectDialog, null)
            dialog.close()
            panel.mJoinProjectDialog.close()
        }

        // A new view file replaces the item's view by one of that file, made with the item's values
        // as they are then; the view taken off is hidden and no longer follows the item.
        function test_viewFileChange() {
            var ids = loadScene(960, 540, [[0, 0, 100, 100], [200, 0, 100, 100]])
            var before = view(ids[0])
            verify(before.sig_itemClicked !== undefined, "a button")
            items.setPropertyValue(sceneId, ids[0], "Name", "标签", false)
            items.setPropertyValue(sceneId, ids[0], "QmlPath", "qrc:/qml/scenePanel/RCSceneItemLabel.qml", false)
            var after = view(ids[0])
            verify(after && after !== before)
            compare(after.sig_itemClicked, undefined, "a label")
            compare([after.readProperty("Name"), after.width, after.mSceneItemPresenter], ["标签", 100, items])
            compare([before.visible, before.mSceneItemPresenter], [false, null])

            items.removeItem(sceneId, ids[1], false)
            compare(view(ids[1]), null)
            compare([panel.mItemModel.rowCount(), panel.mItemModel.itemIdAt(0)], [1, ids[0]])
        }

        // An item whose view cannot be made shows nothing and is logged; the others show.
        function test_unknownView() {
            ignoreWarning(/refused the view qrc:\/qml\/scenePanel\/Nope.qml/)
            // the shown panel only
            ignoreWarning(/sceneItemQml is null/)
            verify(project.setProject({"sceneArray": {"sceneArray": [{"propertyArray": [{"name": "Name", "value": "S"}],
                "itemArray": [{"propertyArray": [{"name": "QmlPath", "value": "qrc:/qml/scenePanel/Nope.qml"}]}]}]}}))
            sceneId = scenes.getSelectSceneId()
            compare(items.getItemCount(sceneId), 1)
            var shown = addButton([100, 100, 100, 100])
            compare([panel.mItemModel.rowCount(), panel.viewSlots().length], [2, 1])
            verify(view(shown))
        }
    }
}
