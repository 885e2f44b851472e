import QtQuick
import QtTest

// The Quenor program manager, the Vexa program manager and the four views of the playing Vexa
// program on the real project and mirror, filled by the media server's commands, with what their
// taps ask for.
RCTestMainWindow {
    id: mainWindow

    readonly property var mirror: project.getStelvaneSyncer()

    ViewTestBench {
        id: bench
    }

    TavixTestCase {
        name: "TrackVexaViews"
        when: windowShown

        function tiles(model) {
            var list = []
            for (var i = 0; i < model.count; ++i)
                list.push([model.get(i).programId, model.get(i).programName, model.get(i).programState,
                           model.get(i).timeText])
            return list
        }
        function trackProgram(id, name, state, countdown, index) {
            return {"trackId": "t1", "id": id, "name": name, "playState": state, "countdownTime": countdown,
                    "index": index}
        }
        function vexaProgram(id, name, state, extra) {
            return Object.assign({"id": id, "name": name, "playState": state, "length": 10000, "progress": 0,
                                  "beginPos": 0, "endPos": 10000}, extra || {})
        }
        // Video list "L" (two programs, the second paused), audio list "L" of the same id (one
        // program playing) and text list "X".
        function vexaLists() {
            serverPeers.receive("setVexaProgramManager", {
                                    "videoProgramListArray": [{"id": "L", "name": "视频", "programArray": [
                                                vexaProgram("v1", "甲", 0), vexaProgram("v2", "乙", 2)]}],
                                    "audioProgramListArray": [{"id": "L", "name": "音频", "programArray": [
                                                vexaProgram("a1", "丙", 1)]}],
                                    "textProgramListArray": [{"id": "X", "name": "字幕", "programArray": []}]
                                })
        }
        function tabNames(view) {
            var tabs = view.mTabPanel.mTabs
            var list = []
            for (var i = 0; i < tabs.count; ++i)
                list.push(tabs.get(i).listId + " " + tabs.get(i).tabName)
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

        // A Quenor view whose track is not there stays empty and fills itself when a track of
        // that name comes; count-down times never go below zero; a tap asks for the program of
        // that track.
        function test_quenor() {
            var view = bench.newView(44, {"TrackName": "A"})
            serverPeers.receive("setTrackManager", {"trackArray": [{"name": "B", "id": "t0"}]})
            compare(view.mTiles.count, 0)
            serverPeers.receive("addTrack", {"name": "A", "id": "t1"})
            compare(view.mTrackId, "t1")
            serverPeers.receive("addTrackProgram", trackProgram("q2", "二", 0, -5000, 0))
            serverPeers.receive("addTrackProgram", trackProgram("q1", "一", 1, 3723000, 0))
            compare(tiles(view.mTiles), [["q1", "一", 1, "01:02:03"], ["q2", "二", 0, "00:00:00"]])
            serverPeers.receive("setTrackProgram", {"trackId": "t1", "id": "q2", "playState": 2, "countdownTime": 61000.7})
            compare(tiles(view.mTiles)[1], ["q2", "二", 2, "00:01:01"])
            serverPeers.receive("addTrackProgram", {"trackId": "t0", "id": "o1", "name": "别的", "index": 0})
            compare(view.mTiles.count, 2, "another track's program")

            mouseClick(child(view, "programTile_q2"))
            compare(bench.actions(), [["", 54, ""], ["item", 50, {"TrackId": "t1", "ProgramId": "q2"}]])
        }

        // The track going clears the tiles and coming back fills them again; after a reconnection
        // the programs the server announces again are not shown twice.
        function test_quenorTrackGoesAndComes() {
            var view = bench.newView(44, {"TrackName": "A"})
            serverPeers.receive("setTrackManager", {"trackArray": [{"name": "A", "id": "t1"}]})
            serverPeers.receive("addTrackProgram", trackProgram("q1", "一", 0, 1000, 0))
            serverPeers.receive("removeTrack", {"id": "t1"})
            compare([view.mTrackId, view.mTiles.count], ["", 0])
            serverPeers.receive("addTrack", {"name": "A", "id": "t1"})
            serverPeers.receive("addTrackProgram", trackProgram("q1", "一", 0, 1000, 0))
            compare(view.mTiles.count, 1)

            testMirror.disconnectServer()
            compare(view.mTiles.count, 0)
            testMirror.connectToServer("127.0.0.1")
            serverPeers.receive("setTrackManager", {"trackArray": [{"name": "A", "id": "t1"}]})
            for (var round = 0; round < 2; ++round) {
                serverPeers.receive("addTrackProgram", trackProgram("q1", "一", 0, 1000, 0))
                serverPeers.receive("addTrackProgram", trackProgram("q2", "二", 0, 1000, 1))
            }
            compare(tiles(view.mTiles).map(t => t[0]), ["q1", "q2"])
            view.mTrackId = ""
            view.findTrack()
            compare(view.mTiles.count, 2, "a refill lists each program once")
        }

        // One tab per list of the view's own kind, also when another kind has a list of the same
        // id; a change of kind shows that kind's lists.
        function test_vexaTabsPerKind() {
            var view = bench.newView(29, {})
            vexaLists()
            compare(tabNames(view), ["L 视频"])
            var page = child(view, "vexaPage_L")
            compare(tiles(page.mTiles), [["v1", "甲", 0, ""], ["v2", "乙", 2, ""]])
            bench.setValue(view, "ProgramListType", 1)
            compare(tabNames(view), ["L 音频"])
            page = child(view, "vexaPage_L")
            tryCompare(page, "mKind", 1)
            compare(tiles(page.mTiles), [["a1", "丙", 1, ""]])
            bench.setValue(view, "ProgramListType", 2)
            compare(tabNames(view), ["X 字幕"])
        }

        // Lists come at clamped places and go; the current tab going makes the next one current;
        // a rename reaches the tab of the list's own kind only.
        function test_vexaTabsFollowTheServer() {
            var view = bench.newView(29, {})
            vexaLists()
            var audio = bench.viewOf(bench.addItem(29, {"ProgramListType": 1}, [0, 320, 600, 300]))
            serverPeers.receive("addVexaProgramList", {"id": "M", "name": "二", "index": 99, "programListType": 0,
                                    "programArray": [vexaProgram("m1", "m", 0)]})
            serverPeers.receive("addVexaProgramList", {"id": "K", "name": "零", "index": -3, "programListType": 0})
            compare(tabNames(view), ["K 零", "L 视频", "M 二"])
            compare(view.mTabPanel.mCurrentListId, "L")
            serverPeers.receive("removeVexaProgramList", {"id": "L", "programListType": 0})
            compare(tabNames(view), ["K 零", "M 二"])
            compare(view.mTabPanel.mCurrentListId, "M", "the tab in its place")
            compare(tabNames(audio), ["L 音频"], "the audio list of that id stays")
            serverPeers.receive("setVexaProgramList", {"id": "M", "name": "改"})
            compare(tabNames(view), ["K 零", "M 改"])
            serverPeers.receive("addVexaProgram", Object.assign(vexaProgram("m0", "新", 0),
                                                                {"programListId": "M", "index": 7, "programListType": 0}))
            compare(tiles(child(view, "vexaPage_M").mTiles).map(t => t[0]), ["m1", "m0"])
        }

        // A paused or stopped program is asked to play, a playing one to pause; one click sound a
        // tap.
        function test_vexaTaps_data() {
            return [{tag: "paused", kind: 0, program: "v2", type: 39}, {tag: "stopped", kind: 0, program: "v1", type: 39},
                    {tag: "playing", kind: 1, program: "a1", type: 40}]
        }
        function test_vexaTaps(data) {
            var view = bench.newView(29, {"ProgramListType": data.kind})
            vexaLists()
            bench.actionSpy.clear()
            mouseClick(child(child(view, "vexaPage_L"), "programTile_" + data.program))
            compare(bench.actions(), [["", 54, ""], ["item", data.type, {"programListId": "L", "programId": data.program}]])
        }

        // What the four views of the playing program show, for the kind of their item: the kind
        // is read again once the item is known.
        function test_playingViews_data() {
            return [
                {tag: "name", kind: 42, list: 0, text: "日出"},
                {tag: "name of audio", kind: 42, list: 1, text: "无节目播放"},
                {tag: "play time", kind: 34, list: 0, text: "00:00:05"},
                {tag: "finish time", kind: 35, list: 0, text: "00:00:03"},
                {tag: "finish time past the end", kind: 35, list: 0, progress: 9500, length: 9000, text: "00:00:00"},
                {tag: "play time of text", kind: 34, list: 2, text: "00:00:02"}
            ]
        }
        function test_playingViews(data) {
            serverPeers.receive("setVexaProgramManager", {
                                    "videoProgramListArray": [{"id": "V", "name": "v", "programArray": [
                                                vexaProgram("vp1", "日出", 1, {"progress": data.progress || 5000,
                                                                           "length": data.length || 8000})]}],
                                    "audioProgramListArray": [{"id": "V", "name": "a", "programArray": [
                                                vexaProgram("ap1", "音乐", 0)]}],
                                    "textProgramListArray": [{"id": "T", "name": "t", "programArray": [
                                                vexaProgram("tp1", "字", 2, {"progress": 2000})]}]
                                })
            var view = bench.newView(data.kind, {"ProgramListType": data.list})
            compare(child(view, "vexaText").text, data.text)
        }

        // The playing name follows the programs of its kind: stopping the current one shows the
        // next playing program, or none.
        function test_playingNameFollows() {
            vexaLists()
            var view = bench.newView(42, {"ProgramListType": 0})
            var text = child(view, "vexaText")
            compare(text.text, "乙")
            serverPeers.receive("setVexaProgram", {"id": "v1", "programListId": "L", "playState": 1})
            compare(text.text, "甲")
            serverPeers.receive("setVexaProgram", {"id": "v2", "programListId": "L", "playState": 0})
            compare(text.text, "甲", "another program stopping keeps the current one")
            serverPeers.receive("setVexaProgram", {"id": "v1", "programListId": "L", "name": "甲二"})
            compare(text.text, "甲二")
            serverPeers.receive("setVexaProgram", {"id": "v1", "programListId": "L", "playState": 0})
            compare(text.text, "无节目播放")
        }

        // The range the progress bar draws and seeks on: "BeginPos".."EndPos", else 0.."Length";
        // with neither it shows nothing played and a tap sends nothing.
        function test_vexaProgressRange_data() {
            return [
                {tag: "begin to end", begin: 1000, end: 9000, length: 12000, progress: 5000, rate: 0.5, quarter: 3000},
                {tag: "begin = end", begin: 4000, end: 4000, length: 8000, progress: 2000, rate: 0.25, quarter: 2000},
                {tag: "past the end", begin: 0, end: 1000, length: 0, progress: 5000, rate: 1, quarter: 250},
                {tag: "no range", begin: 0, end: 0, length: 0, progress: 100, rate: 0, quarter: null}
            ]
        }
        function test_vexaProgressRange(data) {
            serverPeers.receive("setVexaProgramManager", {
                                    "videoProgramListArray": [{"id": "V", "name": "v", "programArray": [
                                                vexaProgram("vp1", "日出", 2, {"progress": data.progress,
                                                                           "length": data.length,
                                                                           "beginPos": data.begin, "endPos": data.end})]}]
                                })
            var view = bench.newView(33, {}, [0, 0, 405, 40])
            fuzzyCompare(view.mRate, data.rate, 1e-9)
            var bar = child(view, "vexaProgressBar")
            compare(bar.width - 2 * bar.border.width, 400)
            bench.actionSpy.clear()
            mouseClick(bar, bar.border.width + (bar.width - 2 * bar.border.width) / 4, 10)
            compare(bench.actions(), data.quarter === null ? [] : [["item", 49, {"Progress": data.quarter, "ProgramListType": 0}]])
        }

        // With nothing played the handle rests at the bar's left and the name stands right of it.
        function test_vexaProgressNameClearOfHandle_data() {
            return [
                {tag: "catalogue handle", values: {}},
                {tag: "wide handle, large text", values: {"Slider_HandlerIconWidth": 60, "TextSize": 30}}
            ]
        }
        function test_vexaProgressNameClearOfHandle(data) {
            var view = bench.newView(33, Object.assign({"Name": "进度"}, data.values), [0, 0, 300, 50])
            compare(view.mRate, 0)
            var handle = child(view, "vexaProgressHandle")
            var name = child(view, "vexaProgressName")
            verify(handle.source !== "" && handle.width > 0)
            verify(name.mapToItem(view, 0, 0).x >= handle.mapToItem(view, handle.width, 0).x,
                   "the name starts right of the handle")
        }

        // Pressed and dragged, the progress bar sends each position once and none beyond the
        // bar, plays on a program that was playing at the press, and sends nothing while no
        // program of its kind is current.
        function test_vexaProgressBar() {
            serverPeers.receive("setVexaProgramManager", {
                                    "videoProgramListArray": [{"id": "V", "name": "v", "programArray": [
                                                vexaProgram("vp1", "日出", 1, {"progress": 5000, "length": 12000,
                                                                           "beginPos": 1000, "endPos": 9000})]}]
                                })
            var view = bench.newView(33, {}, [0, 0, 405, 40])
            var bar = child(view, "vexaProgressBar")
            var x = bar.border.width + 100
            mousePress(bar, x, 10)
            mouseMove(bar, x + 0.2, 10, -1, Qt.LeftButton)
            mouseMove(bar, bar.width + 30, 10, -1, Qt.LeftButton)
            mouseRelease(bar, bar.width + 30, 10)
            compare(bench.actions(), [["item", 49, {"Progress": 3000, "ProgramListType": 0}],
                                ["item", 39, {"programListId": "V", "programId": "vp1"}]])

            serverPeers.receive("setVexaProgram", {"id": "vp1", "programListId": "V", "playState": 0})
            compare(view.mTracker.mProgramId, "")
            bench.actionSpy.clear()
            mousePress(bar, x, 10)
            mouseRelease(bar, x, 10)
            compare(bench.actions(), [], "no program, nothing sent")
        }
    }
}
