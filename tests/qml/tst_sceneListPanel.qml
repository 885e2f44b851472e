import QtQuick
import QtTest
import "qrc:/qml/sceneListPanel"

// The scene strip on the real scene presenter: it shows the project's scenes in the project's
// order, and in edit mode adds, inserts, removes and reorders them as undoable steps.
RCTestMainWindow {
    id: mainWindow

    readonly property var scenes: project.getScenePresenter()

    RCSceneListPanel {
        id: panel
        width: 900
        height: 110
        mProject: project
        mImageManager: getImageManager
        mScenePresenter: mainWindow.scenes
    }

    TavixTestCase {
        name: "SceneListPanel"
        when: windowShown

        // A project of the named scenes, the first one selected, with an empty undo history.
        function loadScenes(names) {
            var array = []
            for (var i = 0; i < names.length; ++i)
                array.push({"propertyArray": [{"name": "Name", "value": names[i]}]})
            verify(project.setProject({"sceneArray": {"sceneArray": array}}))
            return scenes.getSceneIds()
        }
        function rowIds() {
            var ids = []
            for (var i = 0; i < panel.sceneModelCount(); ++i)
                ids.push(panel.sceneRow(i).id)
            return ids
        }
        function markedIds() {
            var ids = []
            for (var i = 0; i < panel.sceneModelCount(); ++i) {
                if (panel.sceneRow(i).select)
                    ids.push(panel.sceneRow(i).id)
            }
            return ids
        }
        function tile(sceneId) {
            tryVerify(() => findChild(panel, "sceneTile_" + sceneId), 2000, "tile of " + sceneId)
            return findChild(panel, "sceneTile_" + sceneId)
        }
        function nameOf(sceneId) {
            return scenes.getPropertyValue(sceneId, "Name")
        }
        function compareWithProject() {
            compare(rowIds(), scenes.getSceneIds(), "the list's order is the project's")
            compare(markedIds(), [scenes.getSelectSceneId()])
        }

        function init() {
            panel.mInEditState = true
        }

        function test_followsTheProject() {
            var ids = loadScenes(["A", "B", "C"])
            compareWithProject()
            scenes.setPropertyValue(ids[1], "Name", "B2", true)
            compare(panel.sceneRow(1).name, "B2")
            mouseClick(tile(ids[2]))
            compare(scenes.getSelectSceneId(), ids[2])
            compare(scenes.getPropertyValue(ids[2], "Focus"), true)
            compareWithProject()
        }

        function test_newSceneName_data() {
            return [
                {tag: "default project", names: ["场景"], expected: "场景1"},
                {tag: "two scenes", names: ["场景1", "场景2"], expected: "场景3"},
                {tag: "a gap", names: ["场景1", "场景3"], expected: "场景2"},
                {tag: "third exists", names: ["A", "场景3"], expected: "场景1"}
            ]
        }
        function test_newSceneName(data) {
            loadScenes(data.names)
            mouseClick(findChild(panel, "addSceneButton"))
            var ids = scenes.getSceneIds()
            var added = ids[ids.length - 1]
            compare(nameOf(added), data.expected)
            compare(scenes.getSelectSceneId(), added, "the new scene is selected")
            compare(scenes.getPropertyValue(added, "Focus"), true)
            compare([scenes.getPropertyValue(added, "Width"), scenes.getPropertyValue(added, "Height")],
                    [960, 540], "no template: the scene default")
            compareWithProject()
        }

        // A reopened project that is no template copy: a new scene takes the selected scene's
        // size, else the first scene's; the scene default only when there is no scene.
        function test_newSceneSize_data() {
            return [
                {tag: "selected scene", sizes: [[1920, 1080], [1024, 768]], selected: 1, expected: [1024, 768]},
                {tag: "none selected: the first", sizes: [[1920, 1080], [1024, 768]], selected: -1,
                 expected: [1920, 1080]},
                {tag: "no scene", sizes: [], selected: -1, expected: [960, 540]}
            ]
        }
        function test_newSceneSize(data) {
            var array = []
            for (var i = 0; i < data.sizes.length; ++i)
                array.push({"propertyArray": [{"name": "Name", "value": "S" + i},
                                              {"name": "Width", "value": data.sizes[i][0]},
                                              {"name": "Height", "value": data.sizes[i][1]}]})
            var folder = testSupport.makeFolder("stored")
            verify(testSupport.writeText(folder + "/project.tavx",
                                         JSON.stringify({"sceneArray": {"sceneArray": array}})))
            verify(project.loadProjectPacket(folder))
            verify(!project.isTemplateProject())
            var ids = scenes.getSceneIds()
            scenes.setSelectScene(data.selected < 0 ? "" : ids[data.selected])
            // Inserted in front, so that the first scene is not the new one's own model.
            var added = panel.addNewScene(0)
            compare(scenes.getSceneId(0), added)
            compare([scenes.getPropertyValue(added, "Width"), scenes.getPropertyValue(added, "Height")],
                    data.expected)
        }

        function test_templateSizeSurvivesUndo() {
            verify(project.loadTemplateProjectPacket("PC(1920x1080)"))
            var added = panel.addNewScene(-1)
            compare([scenes.getPropertyValue(added, "Width"), scenes.getPropertyValue(added, "Height")], [1920, 1080])
            testSupport.undo()
            compare(scenes.getSceneIndex(added), -1, "adding is one undo step")
            compareWithProject()
            testSupport.redo()
            compare([scenes.getPropertyValue(added, "Width"), scenes.getPropertyValue(added, "Height")], [1920, 1080])
            compareWithProject()
        }

        // The tile menu inserts a scene before the tile, or removes the tile's scene (the first
        // remaining one is selected then), as one undo step; the last scene has no menu.
        function test_menu_data() {
            return [
                {tag: "insert", tile: 1, entry: "sceneTileInsert"},
                {tag: "remove the selected", tile: 0, entry: "sceneTileRemove"}
            ]
        }
        function test_menu(data) {
            var ids = loadScenes(["A"])
            mouseClick(tile(ids[0]), 10, 10, Qt.RightButton)
            verify(!tile(ids[0]).mMenu, "no menu for the last scene")

            ids = loadScenes(["A", "B", "C"])
            var t = tile(ids[data.tile])
            mouseClick(t, 10, 10, Qt.RightButton)
            tryCompare(findChild(t, "sceneTileMenu"), "opened", true)
            mouseClick(findChild(t, data.entry))
            if (data.tile) {
                var inserted = scenes.getSceneId(1)
                compare(nameOf(inserted), "场景1")
                compare(scenes.getSceneIds(), [ids[0], inserted, ids[1], ids[2]])
            } else {
                compare(scenes.getSceneIds(), [ids[1], ids[2]])
                compare(scenes.getSelectSceneId(), ids[1], "the first remaining scene is selected")
                compare(scenes.getPropertyValue(ids[1], "Focus"), true)
            }
            compareWithProject()
            testSupport.undo()
            compare(scenes.getSceneIds(), ids)
            compareWithProject()
        }

        function test_move_data() {
            return [
                {tag: "selected to the end", selected: 0, from: 0, to: 3},
                {tag: "other to the front", selected: 0, from: 2, to: 0},
                {tag: "selected one step", selected: 1, from: 1, to: 2}
            ]
        }
        function test_move(data) {
            var ids = loadScenes(["A", "B", "C", "D"])
            scenes.setSelectScene(ids[data.selected])
            verify(panel.dropScene(ids[data.from], data.to))
            compare(scenes.getSceneIndex(ids[data.from]), data.to)
            compare(scenes.getSelectSceneId(), ids[data.selected], "the selection stays")
            compareWithProject()
            testSupport.undo()
            compare(scenes.getSceneIds(), ids)
            compareWithProject()
        }

        function test_dropIndex_data() {
            // tiles are 256 wide, 1 apart: tile n spans [257 n, 257 n + 256)
            return [
                {tag: "own tile", from: 1, x: 300, expected: 1},
                {tag: "just into the next", from: 1, x: 514 + 40, expected: 1},
                {tag: "past 50 into the next", from: 1, x: 514 + 60, expected: 2},
                {tag: "past 50 into the previous", from: 1, x: 256 - 60, expected: 0},
                {tag: "just into the previous", from: 1, x: 256 - 40, expected: 1}
            ]
        }
        function test_dropIndex(data) {
            loadScenes(["A", "B", "C", "D"])
            panel.mDropIndex = -1
            compare(panel.dropIndexAt(data.x, data.from), data.expected)
        }

        function test_dragPayload() {
            var ids = loadScenes(["A", "B"])
            var t = tile(ids[1])
            compare(t.Drag.mimeData, {"dragType": "scene", "sceneId": ids[1]})
            compare(t.Drag.supportedActions, Qt.MoveAction)
            compare(t.Drag.hotSpot, Qt.point(10, 10))
            verify(t.mDragEnabled)
        }

        // Whether the whole tile of the scene is in the strip's view.
        function inView(sceneId) {
            var list = findChild(panel, "sceneList")
            var t = tile(sceneId)
            return t.x >= list.contentX && t.x + t.width <= list.contentX + list.width
        }

        // The strip keeps the selected scene in view: one selected from outside, a new one.
        function test_followsTheSelection() {
            var ids = loadScenes(["A", "B", "C", "D", "E", "F"])
            verify(inView(ids[0]))
            scenes.setSelectScene(ids[5])
            tryVerify(() => inView(ids[5]), 2000, "scrolled to the last scene")
            scenes.setSelectScene(ids[1])
            tryVerify(() => inView(ids[1]), 2000, "and back")
            mouseClick(findChild(panel, "addSceneButton"))
            var added = scenes.getSceneId(6)
            tryVerify(() => inView(added), 2000, "to the new scene")
        }

        // The wheel scrolls the strip, as does a dragged tile held near either end.
        function test_scrolls_data() {
            return [
                {tag: "wheel down", wheel: -120, forward: true},
                {tag: "wheel up at the start", wheel: 120, forward: false},
                {tag: "sideways wheel", wheelX: -120, forward: true},
                {tag: "drag at the right end", dragAt: "right", forward: true},
                {tag: "drag at the left end", dragAt: "left", forward: false}
            ]
        }
        function test_scrolls(data) {
            loadScenes(["A", "B", "C", "D", "E", "F"])
            var list = findChild(panel, "sceneList")
            var start = list.contentX
            if (data.dragAt) {
                panel.dragMovedTo(data.dragAt === "right" ? list.width - 5 : 5)
                if (data.forward)
                    tryVerify(() => list.contentX > start + 100, 3000)
                else
                    wait(200)
                panel.mAutoScroll = 0
            } else {
                mouseWheel(list, 100, 50, data.wheelX || 0, data.wheel || 0)
            }
            compare(list.contentX > start, data.forward)
            verify(list.contentX >= list.originX, "not before the first scene")
        }

        function test_controlMode() {
            var ids = loadScenes(["A", "B"])
            panel.mInEditState = false
            var list = findChild(panel, "sceneList")
            verify(!findChild(panel, "addSceneButton").visible)
            compare(list.width, panel.width, "the hidden add button takes no width")
            verify(!tile(ids[1]).mDragEnabled)
            mouseClick(tile(ids[1]), 10, 10, Qt.RightButton)
            verify(!tile(ids[1]).mMenu, "no editing in control mode")
            mouseClick(tile(ids[1]))
            compare(scenes.getSelectSceneId(), ids[1], "selecting works in both modes")
            compare(scenes.getSceneIds(), ids)
        }
    }
}
