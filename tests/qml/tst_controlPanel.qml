import QtQuick
import QtTest
import "qrc:/qml/controlListPanel"

// The control list on the real catalogue: three tabs of tiles by group, the column rule, the
// catalogue's add and remove signals, the tiles' drag payload, and a tab's tiles made when the
// tab is first shown.
RCTestMainWindow {
    id: mainWindow

    readonly property var controls: project.getControlManager()

    RCControlPanel {
        id: panel
        width: 300
        height: 700
        mControlManager: mainWindow.controls
    }
    Component {
        id: panelComponent

        RCControlPanel {
            width: 300
            height: 700
        }
    }

    TestCase {
        name: "ControlPanel"
        when: windowShown

        function page(group) {
            return findChild(panel, "controlPage_" + group)
        }
        // The control ids of the tiles in a page's grid, in the order shown.
        function idsIn(grid) {
            var ids = []
            for (var i = 0; i < grid.children.length; ++i) {
                if (grid.children[i].mControlId !== undefined)
                    ids.push(grid.children[i].mControlId)
            }
            return ids
        }
        // The control ids of a page's tiles, its tab shown once for them to be made.
        function tileIds(group) {
            var tabs = findChild(panel, "controlTabBar")
            var shown = tabs.mCurrentIndex
            tabs.mCurrentIndex = panel.mGroups.indexOf(group)
            tabs.mCurrentIndex = shown
            return idsIn(page(group).mGrid)
        }
        function catalogueIds(group) {
            var ids = []
            for (var i = 0; i < controls.getControlCout(); ++i) {
                if (controls.getControl(i).belongToGroup(group))
                    ids.push(controls.getControl(i).getId())
            }
            return ids
        }

        function test_filledFromTheCatalogue() {
            compare(findChild(panel, "controlPanelTitle").text, "控件")
            var tabs = findChild(panel, "controlTabBar")
            compare([tabs.getTabName(0), tabs.getTabName(1), tabs.getTabName(2)], ["Stelvane", "quenor", "Vexa"])
            compare([tileIds("Mirel").length, tileIds("Quenor").length, tileIds("Vexa").length], [31, 18, 19])
            compare(tileIds("Mirel"), catalogueIds("Mirel"), "catalogue order")
            compare(tileIds("Vexa"), catalogueIds("Vexa"))
            var stageView = controls.getControlByType(2).getId()
            verify(tileIds("Mirel").indexOf(stageView) >= 0 && tileIds("Vexa").indexOf(stageView) >= 0,
                   "a control of two groups has a tile in both tabs")
        }

        function test_tabs() {
            verify(page("Mirel").visible)
            tryVerify(() => findChild(panel, "tab_Vexa"))
            mouseClick(findChild(panel, "tab_Vexa"))
            verify(page("Vexa").visible)
            verify(!page("Mirel").visible)
            mouseClick(findChild(panel, "tab_Stelvane"))
            verify(page("Mirel").visible)
        }

        function test_addAndRemove() {
            var control = controls.addControl(20, "两组控件", ["Mirel", "Vexa"], "qrc:/control/custom.png")
            verify(control)
            var id = control.getId()
            compare(tileIds("Mirel")[tileIds("Mirel").length - 1], id)
            compare(tileIds("Vexa")[tileIds("Vexa").length - 1], id)
            verify(tileIds("Quenor").indexOf(id) < 0)
            verify(controls.removeControl(id))
            tryVerify(() => tileIds("Mirel").length === 31)
            tryVerify(() => tileIds("Vexa").length === 19 && tileIds("Vexa").indexOf(id) < 0)
        }

        function test_columns_data() {
            return [
                {tag: "narrow", width: 35, columns: 1},
                {tag: "one exact", width: 115, columns: 1},
                {tag: "remainder 50", width: 165, columns: 2},
                {tag: "remainder 25", width: 300, columns: 3},
                {tag: "remainder 45", width: 400, columns: 4},
                {tag: "remainder 65", width: 420, columns: 5}
            ]
        }
        function test_columns(data) {
            compare(panel.columnCount(data.width), data.columns)
            panel.width = data.width
            compare(page("Mirel").mGrid.columns, data.columns)
            panel.width = 300
        }

        // A hidden tab has no tiles; its first showing makes them all, in the catalogue's order,
        // with the controls added while it was hidden.
        function test_tilesMadeWhenShown_data() {
            return [
                {tag: "quenor", tab: "tab_quenor", group: "Quenor"},
                {tag: "Vexa", tab: "tab_Vexa", group: "Vexa"}
            ]
        }
        function test_tilesMadeWhenShown(data) {
            var fresh = createTemporaryObject(panelComponent, mainWindow, {"mControlManager": controls})
            var grid = findChild(fresh, "controlPage_" + data.group).mGrid
            compare(idsIn(grid), [], "no tiles while hidden")
            var control = controls.addControl(20, "后加控件", [data.group], "qrc:/control/custom.png")
            verify(control)
            compare(idsIn(grid), [], "no tiles while hidden")
            tryVerify(() => findChild(fresh, data.tab))
            mouseClick(findChild(fresh, data.tab))
            verify(findChild(fresh, "controlPage_" + data.group).visible)
            var expected = catalogueIds(data.group)
            compare(expected[expected.length - 1], control.getId())
            compare(idsIn(grid), expected)
            var id = control.getId()
            verify(controls.removeControl(id))
            tryVerify(() => idsIn(grid).indexOf(id) < 0, 3000, "the removed control's tile goes")
        }

        function test_tilePayload() {
            tileIds("Quenor")
            var tile = page("Quenor").mGrid.children[0]
            var control = controls.getControlById(tile.mControlId)
            compare(tile.Drag.mimeData, {"dragType": "control", "controlId": control.getId()})
            compare(tile.Drag.supportedActions, Qt.CopyAction)
            compare(tile.Drag.hotSpot, Qt.point(10, 10))
            compare(findChild(tile, "controlName").text, control.getName())
            tryCompare(findChild(tile, "controlIcon"), "status", Image.Ready)
            compare([tile.width, tile.height], [44.4, 25])
        }
    }
}
