import QtQuick
import QtTest

// The program views on the real project and mirror, connected to a stand-in media server: the
// program table (from "setProgramTable", then single changes of the mirror), the program manager
// and the play-state manager, with what their taps send.
RCTestMainWindow {
    id: mainWindow

    ViewTestBench {
        id: bench
    }
    // Started after a view queued its refresh (a zero timer too), it fires after that refresh would.
    Timer {
        id: afterQueued
        interval: 0
    }

    TavixTestCase {
        name: "ProgramViews"
        when: windowShown

        function program(id, name, state) {
            return {"id": id, "name": name === undefined ? id : name, "playState": state || 0}
        }
        function node(id, layer, programs, state, extra) {
            return Object.assign({"id": id, "name": id, "playState": state || 0, "length": 10000, "progress": 0,
                                  "programLayerId": layer, "programIdArray": programs}, extra || {})
        }
        // Three programs, a window layer l1 and a light layer l2; n1 spans p1..p3 in l1, n2 plays
        // in l2 under p2.
        function serverTable() {
            serverPeers.receive("setProgramTable", {
                                    "programArray": [program("p1", "开场"), program("p2", "第一幕"), program("p3")],
                                    "programLayerArray": [{"id": "l1", "name": "视频", "programLayerType": 0},
                                                          {"id": "l2", "name": "灯光", "programLayerType": 1}],
                                    "programNodeArray": [node("n1", "l1", ["p1", "p2", "p3"]),
                                                         node("n2", "l2", ["p2"], 1)]
                                })
        }
        // The table's cells, row by row, and its headers.
        function cells(view) {
            var model = view.mModel
            var rows = []
            for (var r = 0; r < model.rowCount(); ++r) {
                var row = []
                for (var c = 0; c < model.columnCount(); ++c)
                    row.push(model.data(model.index(r, c)))
                rows.push(row)
            }
            return rows
        }
        function headers(view, orientation) {
            var model = view.mModel
            var count = orientation === Qt.Horizontal ? model.columnCount() : model.rowCount()
            var list = []
            for (var i = 0; i < count; ++i)
                list.push(model.headerData(i, orientation))
            return list
        }

        function initTestCase() {
            verify(serverPeers.connectServer(), "the link reaches the stand-in")
        }
        function init() {
            testMirror.clear()
            project.setAppModel(1)
            bench.actionSpy.clear()
        }

        // The table as "setProgramTable" fills it; a program's state and name reach its header
        // without a model reset; removing a node empties exactly its cells.
        function test_tableFromTheServer() {
            var view = bench.newView(22, {}, [0, 0, 700, 400])
            serverTable()
            compare(headers(view, Qt.Horizontal), ["p1", "p2", "p3"])
            compare(headers(view, Qt.Vertical), ["l1", "l2"])
            compare(cells(view), [["n1", "n1", "n1"], ["", "n2", ""]])
            var box = child(child(view, "columnHeader_p2"), "columnHeaderBox")
            verify(Qt.colorEqual(box.color, "#8D8D8D"))
            verify(Qt.colorEqual(child(child(view, "nodeCell_n2"), "nodeCellBox").color, "green"))

            var resets = Qt.createQmlObject("import QtTest; SignalSpy { signalName: 'modelReset' }", view)
            resets.target = view.mModel
            serverPeers.receive("setProgram", {"id": "p2", "playState": 1})
            serverPeers.receive("setProgram", {"id": "p2", "name": "改名"})
            box = child(child(view, "columnHeader_p2"), "columnHeaderBox")
            verify(Qt.colorEqual(box.color, "green"), "the header follows the state")
            compare(child(box, "columnHeaderName").text, "改名", "and the name")
            compare(resets.count, 0)

            serverPeers.receive("removeProgramNode", {"id": "n1"})
            compare(cells(view), [["", "", ""], ["", "n2", ""]])
            compare(resets.count, 0)
        }

        // A replace keeps the delegates of the table, also when it gains a program: they show the
        // new names and states, also where the ids stay.
        function test_tableReplacedInPlace_data() {
            return [{tag: "same shape", more: []}, {tag: "one program more", more: [program("p4")]}]
        }
        function test_tableReplacedInPlace(data) {
            var view = bench.newView(22, {}, [0, 0, 700, 400])
            serverTable()
            var shown = [child(view, "nodeCell_n1"), child(view, "columnHeader_p1"), child(view, "rowHeader_l1")]
            compare(child(shown[0], "nodeCellName").text, "n1")
            compare(child(shown[1], "columnHeaderName").text, "开场")
            compare(child(shown[2], "rowHeaderName").text, "视频")
            var resets = Qt.createQmlObject("import QtTest; SignalSpy { signalName: 'modelReset' }", view)
            resets.target = view.mModel
            serverPeers.receive("setProgramTable", {
                                    "programArray": [program("p1", "新开场", 1), program("p2", "第一幕"),
                                                     program("p3")].concat(data.more),
                                    "programLayerArray": [{"id": "l1", "name": "新视频", "programLayerType": 0},
                                                          {"id": "l2", "name": "灯光", "programLayerType": 1}],
                                    "programNodeArray": [node("n1", "l1", ["p1", "p2", "p3"], 1, {"name": "新节点"}),
                                                         node("n2", "l2", ["p2"], 0)]
                                })
            compare(resets.count, 0)
            compare(cells(view), [["n1", "n1", "n1"], ["", "n2", ""]].map(row => row.concat(data.more.map(p => ""))))
            var box = child(child(view, "columnHeader_p1"), "columnHeaderBox")
            verify(Qt.colorEqual(box.color, "green"), "the program's new state")
            compare(child(box, "columnHeaderName").text, "新开场")
            compare(child(child(view, "rowHeader_l1"), "rowHeaderName").text, "新视频")
            verify(Qt.colorEqual(child(child(view, "nodeCell_n1"), "nodeCellBox").color, "green"))
            compare(child(child(view, "nodeCell_n1"), "nodeCellName").text, "新节点")
            verify(Qt.colorEqual(child(child(view, "nodeCell_n2"), "nodeCellBox").color, "#403E3F"))
            compare([child(view, "nodeCell_n1"), child(view, "columnHeader_p1"), child(view, "rowHeader_l1")], shown,
                    "the same delegates")
        }

        // Single changes of the mirror, without a rebuild: programs and layers inserted at the
        // end are appended, removals go by id, moved nodes move their cells, a renamed layer
        // renames its header.
        function test_tableFollowsSingleChanges() {
            var view = bench.newView(22, {}, [0, 0, 700, 400])
            serverPeers.receive("setProgramTable", {
                                    "programArray": [program("p1"), program("p2")],
                                    "programLayerArray": [{"id": "l1", "name": "L1", "programLayerType": 0}],
                                    "programNodeArray": [node("n1", "l1", ["p1"])]
                                })
            verify(testMirror.insertProgram(2, {"Id": "p3", "Name": "p3", "State": 0}))
            verify(testMirror.insertProgram(0, {"Id": "p0", "Name": "p0", "State": 0}))
            compare(headers(view, Qt.Horizontal), ["p0", "p1", "p2", "p3"])
            compare(cells(view), [["", "n1", "", ""]])
            testMirror.removeProgram("p1")
            compare(headers(view, Qt.Horizontal), ["p0", "p2", "p3"])

            verify(testMirror.insertProgramLayer(1, {"Id": "l2", "Name": "L2", "ProgramLayerType": 0}))
            verify(testMirror.addProgramNode({"Id": "n2", "Name": "n2", "State": 0, "ProgramLayerId": "l1",
                                               "ProgramIdList": ["p2", "p3"]}))
            compare(cells(view), [["", "n2", "n2"], ["", "", ""]])
            testMirror.setProgramNodePrograms("n2", ["p0"])
            compare(cells(view), [["n2", "", ""], ["", "", ""]])
            verify(testMirror.setProgramNode("n2", "ProgramLayerId", "l2"))
            compare(cells(view), [["", "", ""], ["n2", "", ""]])

            verify(testMirror.setProgramLayer("l2", "Name", "新层"))
            tryCompare(child(child(view, "rowHeader_l2"), "rowHeaderName"), "text", "新层")
            testMirror.removeProgramLayer("l1")
            compare(headers(view, Qt.Vertical), ["l2"])
            compare(cells(view), [["n2", "", ""]])
        }

        // n3 covers n1 in (l1, p2). When n3 leaves that cell the cell shows n1 again, which the
        // mirror still places there, and a cell nobody else holds empties: as a rebuild shows it.
        function test_tableUncoversCells_data() {
            return [
                {tag: "removed", key: "", value: null, cells: [["n1", "n1", ""], ["", "", ""]]},
                {tag: "moved to another layer", key: "ProgramLayerId", value: "l2",
                 cells: [["n1", "n1", ""], ["", "n3", "n3"]]},
                {tag: "moved to other programs", key: "ProgramIdList", value: ["p3"],
                 cells: [["n1", "n1", "n3"], ["", "", ""]]}
            ]
        }
        function test_tableUncoversCells(data) {
            var view = bench.newView(22, {}, [0, 0, 700, 400])
            serverPeers.receive("setProgramTable", {
                                    "programArray": [program("p1"), program("p2"), program("p3")],
                                    "programLayerArray": [{"id": "l1", "name": "L1", "programLayerType": 0},
                                                          {"id": "l2", "name": "L2", "programLayerType": 0}],
                                    "programNodeArray": [node("n1", "l1", ["p1", "p2"]), node("n3", "l1", ["p2", "p3"])]
                                })
            compare(cells(view), [["n1", "n3", "n3"], ["", "", ""]])
            if (data.key === "")
                testMirror.removeProgramNode("n3")
            else
                verify(testMirror.setProgramNode("n3", data.key, data.value))
            compare(cells(view), data.cells)
            testMirror.tableUpdate()
            compare(cells(view), data.cells, "what a rebuild shows")
        }

        // Taps: the stop box, a program header, a node (started when not playing, else paused);
        // an empty cell sends nothing. Each plays the click sound first.
        function test_tableTaps() {
            var view = bench.newView(22, {}, [0, 0, 700, 400])
            serverTable()
            compare(bench.sentBy(() => tap(child(view, "tableStopBox"))), ["stopAllProgram {}"])
            compare(bench.sentBy(() => tap(child(view, "columnHeader_p1"))),
                    ['setProgram {"id":"p1","name":"playState","value":1}'])
            compare(bench.sentBy(() => tap(child(view, "nodeCell_n2"))), ['setProgramNode {"id":"n2","playState":2}'])
            compare(bench.sentBy(() => tap(child(view, "nodeCell_n1"))), ['setProgramNode {"id":"n1","playState":1}'])
            bench.actionSpy.clear()
            compare(bench.sentBy(() => tap(child(view, "nodeCell_"))), [], "an empty cell")
            compare(bench.actionSpy.count, 0)
        }

        // Tiles in the mirror's order; single programs come and go at clamped places; a tap plays
        // the click sound (no ids) and asks for the program.
        function test_programManager() {
            var view = bench.newView(3, {}, [0, 0, 700, 400])
            serverPeers.receive("setProgramTable", {"programArray": [program("p1", "一"), program("p2", "二", 1)]})
            var tiles = view.mTiles
            compare(tiles.count, 2)
            compare([tiles.get(0).programName, tiles.get(1).programState], ["一", 1])
            verify(testMirror.insertProgram(0, {"Id": "p0", "Name": "零", "State": 0}))
            verify(testMirror.insertProgram(99, {"Id": "p9", "Name": "九", "State": 2}))
            compare([tiles.get(0).programId, tiles.get(3).programId], ["p0", "p9"])
            testMirror.setProgramState("p1", 2)
            testMirror.setProgramName("p1", "壹")
            compare([tiles.get(1).programName, tiles.get(1).programState], ["壹", 2])
            testMirror.removeProgram("p0")
            compare(tiles.count, 3)

            var tile = child(view, "programTile_p1")
            tap(tile)
            compare(bench.actions(), [["", 54, ""], ["item", 3, "p1"]])
            compare(bench.actionSpy.signalArguments[1][1], view.mSceneItemId)
        }

        // A view whose deferred refresh is queued when it goes leaves nothing behind that runs
        // without it: no error once the queue is served.
        function test_viewGoesWithRefreshQueued_data() {
            return [
                {tag: "program manager, table replaced", kind: 3, change: () => testMirror.tableUpdate()},
                {tag: "playing Vexa program, list added", kind: 33, change: () => serverPeers.receive(
                        "addVexaProgramList", {"id": "Q", "name": "q", "programListType": 0, "index": 0})}
            ]
        }
        function test_viewGoesWithRefreshQueued(data) {
            failOnWarning(/delayed function evaluation|TypeError/)
            var view = bench.newView(data.kind, {}, [0, 0, 300, 200])
            verify(view)
            data.change()
            verify(bench.items.removeItem(bench.sceneId, view.mSceneItemId, false))
            compare(bench.viewOf(view.mSceneItemId), null)
            afterQueued.start()
            tryVerify(function() { return !afterQueued.running })
        }

        // With node titles: a tab per title, each showing the programs of its nodes; programs
        // added meanwhile wait for the next refresh, which keeps the chosen tab.
        function test_programManagerTabs() {
            var view = bench.newView(3, {}, [0, 0, 700, 400])
            serverPeers.receive("setProgramTable", {
                                    "programArray": [program("p1"), program("p2"), program("p3")],
                                    "programLayerArray": [{"id": "l1", "name": "L", "programLayerType": 0}],
                                    "programNodeArray": [node("n1", "l1", ["p1"], 0, {"programNodeTitle": "甲"}),
                                                         node("n2", "l1", ["p2", "p3"], 0, {"programNodeTitle": "乙"})]
                                })
            tryVerify(() => view.mTabVisible)
            var bar = view.mTabBar
            compare([bar.getTabCount(), bar.getTabName(0), bar.getTabName(1)], [2, "甲", "乙"])
            compare(view.mTiles.count, 1)
            bar.setCurrentIndex(1)
            compare([view.mTiles.get(0).programId, view.mTiles.get(1).programId], ["p2", "p3"])
            verify(testMirror.addProgram({"Id": "p4", "Name": "p4", "State": 0}))
            compare(view.mTiles.count, 2, "a new program waits")
            testMirror.tableUpdate()
            wait(0)
            compare(bar.getTabName(bar.mCurrentIndex), "乙", "the refresh keeps the chosen tab")
            testMirror.removeProgramNode("n1")
            testMirror.removeProgramNode("n2")
            tryVerify(() => !view.mTabVisible)
            compare(view.mTiles.count, 4)
        }

        // Rows for the running nodes of window layers only (not of other layers, not of a layer
        // the mirror does not know), following state, progress and layer.
        function test_playStateRows() {
            var view = bench.newView(4, {"PlayStateManager_ProgressBar_Height": 40}, [0, 0, 700, 400])
            serverPeers.receive("setProgramTable", {
                                    "programArray": [program("p1")],
                                    "programLayerArray": [{"id": "l1", "name": "视频", "programLayerType": 0},
                                                          {"id": "l2", "name": "灯光", "programLayerType": 1}],
                                    "programNodeArray": [node("n1", "l1", ["p1"], 1), node("n2", "l2", ["p1"], 1),
                                                         node("n3", "l1", ["p1"], 0), node("n4", "lx", ["p1"], 1)]
                                })
            var rows = view.mRows
            compare(rows.count, 1)
            compare([rows.get(0).nodeId, rows.get(0).layerName], ["n1", "视频"])
            testMirror.setProgramNode("n3", "State", 2)
            compare(rows.count, 2)
            testMirror.setProgramNode("n3", "Progress", 700)
            compare(rows.get(1).nodeProgress, 700)
            testMirror.setProgramNode("n1", "ProgramLayerId", "l2")
            testMirror.setProgramNode("n3", "State", 0)
            compare(rows.count, 0)
        }

        // Changes of a layer leave the rows alone: a window layer that changes its type (and back)
        // or goes keeps its nodes' rows, while a node starting on a layer that is no window
        // layer gets none.
        function test_playStateLayerChanges() {
            var view = bench.newView(4, {"PlayStateManager_ProgressBar_Height": 40}, [0, 0, 700, 400])
            serverPeers.receive("setProgramTable", {
                                    "programLayerArray": [{"id": "l1", "name": "视频", "programLayerType": 0}],
                                    "programNodeArray": [node("n1", "l1", [], 1)]
                                })
            var rows = view.mRows
            compare(rows.count, 1)
            verify(testMirror.setProgramLayer("l1", "ProgramLayerType", 1))
            compare(rows.count, 1, "the type change keeps the row")
            testMirror.setProgramNode("n1", "State", 2)
            compare([rows.count, rows.get(0).nodeState], [1, 2], "and so does a pause")
            verify(testMirror.addProgramNode({"Id": "n2", "Name": "n2", "State": 1, "ProgramLayerId": "l1"}))
            compare(rows.count, 1, "no row for a node starting there now")
            verify(testMirror.setProgramLayer("l1", "ProgramLayerType", 0))
            testMirror.removeProgramLayer("l1")
            compare([rows.count, rows.get(0).nodeId, rows.get(0).layerName], [1, "n1", "视频"])
        }

        // The time texts of a row by "ShowTimeType" and values a server may send.
        function test_playStateTimes_data() {
            return [
                {tag: "count down", type: 0, progress: 5000, length: 10000, rate: 0.5, texts: ["-00:00:05.000"]},
                {tag: "count up", type: 1, progress: 5000, length: 10000, rate: 0.5, texts: ["00:00:05.000"]},
                {tag: "both", type: 2, progress: 5000, length: 10000, rate: 0.5,
                 texts: ["00:00:05.000", "-00:00:05.000"]},
                {tag: "hours", type: 2, progress: 3723004, length: 7200000, rate: 3723004 / 7200000,
                 texts: ["01:02:03.004", "-00:57:56.996"]},
                {tag: "no length", type: 2, progress: 5000, length: 0, rate: 0, texts: ["00:00:05.000", "-00:00:00.000"]},
                {tag: "past the end", type: 2, progress: 12000, length: 10000, rate: 1,
                 texts: ["00:00:10.000", "-00:00:00.000"]},
                {tag: "negative", type: 2, progress: -300, length: -5, rate: 0, texts: ["00:00:00.000", "-00:00:00.000"]},
                {tag: "a day and more", type: 1, progress: 90061001, length: 99000000, rate: 90061001 / 99000000,
                 texts: ["01:01:01.001"]}
            ]
        }
        function test_playStateTimes(data) {
            var view = bench.newView(4, {"PlayStateManager_ProgressBar_Height": 40,
                                         "PlayStateManager_ProgressBar_ShowTimeType": data.type}, [0, 0, 700, 400])
            serverPeers.receive("setProgramTable", {
                                    "programLayerArray": [{"id": "l1", "name": "视频", "programLayerType": 0}],
                                    "programNodeArray": [node("n1", "l1", [], 1,
                                                              {"progress": data.progress, "length": data.length})]
                                })
            var row = child(view, "playStateRow_n1")
            verify(row)
            fuzzyCompare(row.mRate, data.rate, 1e-9)
            var shown = []
            for (var name of ["playStateElapsedText", "playStateRemainingText"]) {
                var text = findChild(row, name)
                if (text.visible)
                    shown.push(text.text)
            }
            compare(shown, data.texts)
            var slider = findChild(row, "playStateSlider")
            var times = findChild(row, "playStateTimes")
            verify(times.x + times.width <= slider.x || slider.x + slider.width <= times.x, "the slider leaves the times free")
        }

        // A tap on the bar seeks on the scale the bar is drawn with: at a quarter of its width to a
        // quarter of the length (less what the whole pixel takes off); the icon pauses a playing node.
        function test_playStateTaps() {
            var view = bench.newView(4, {"PlayStateManager_ProgressBar_Height": 40}, [0, 0, 700, 400])
            serverPeers.receive("setProgramTable", {
                                    "programLayerArray": [{"id": "l1", "name": "视频", "programLayerType": 0}],
                                    "programNodeArray": [node("n1", "l1", [], 1, {"length": 8000})]
                                })
            var row = child(view, "playStateRow_n1")
            var bar = child(row, "playStateBar")
            var x = Math.round(bar.width / 4)
            compare(bench.sentBy(() => tap(bar, x)),
                    ['setProgramNode {"id":"n1","progress":' + Math.trunc(x / bar.width * 8000) + '}'])
            verify(Math.abs(Math.trunc(x / bar.width * 8000) - 2000) < 8000 / bar.width)
            compare(bench.sentBy(() => tap(child(row, "playStateIcon"))), ['setProgramNode {"id":"n1","playState":2}'])
        }
    }
}
