import QtQuick
import QtTest
import "qrc:/qml/scenePanel"

// Every view the catalogue names, and the stage view, the global-property slider, the label, the
// scene list and the catalog on the real project, connected to a stand-in media server that
// answers stage images.
RCTestMainWindow {
    id: mainWindow

    ViewTestBench {
        id: bench
    }
    // The other mode's panel on the same scenes, hidden as the edit layout is in control mode.
    RCScenePanel {
        id: hiddenPanel
        width: 400
        height: 300
        visible: false
        // The services the main window hands every canvas.
        mWindow: mainWindow
        mProject: project
        mStelvaneSyncer: stelvaneSyncer
        mImageManager: getImageManager
        mInterface: getRCInterface
        mCloudClient: tavixProjectCloudClient
        mScenePresenter: bench.scenes
        mSceneItemPresenter: bench.items
    }

    TavixTestCase {
        name: "SceneViews"
        when: windowShown

        // Whether stage images are being asked for: more requests within 600 ms.
        function stageRequestsRun() {
            wait(150)
            var before = serverPeers.stageRequests()
            wait(600)
            return serverPeers.stageRequests() > before + 1
        }
        function entries(model) {
            var list = []
            for (var i = 0; i < model.count; ++i)
                list.push(model.get(i).sceneName + (model.get(i).selected ? "*" : ""))
            return list
        }

        function initTestCase() {
            verify(serverPeers.connectServer(), "the link reaches the stand-in")
        }
        function init() {
            testMirror.clear()
            project.setAppModel(1)
            bench.panel.visible = true
            bench.panel.mInEditState = false
            bench.actionSpy.clear()
        }

        // Every view file that the catalogue names loads from the resources, and the panel makes
        // the view of every kind.
        function test_catalogueViews_data() {
            var controls = project.getControlManager()
            var rows = []
            for (var k = 0; k < controls.getControlCout(); ++k) {
                var control = controls.getControl(k)
                var records = control.getInstantiationParam().toJson().propertyArray
                var path = records.find(record => record.name === "QmlPath").value
                rows.push({tag: control.getControlType() + " " + path, kind: control.getControlType(), path: path})
            }
            compare(rows.length, 43)
            return rows
        }
        // Each view is made with its item's values and the services the panel hands in, and
        // follows a later change of its item and of the panel's edit state.
        function test_catalogueViews(data) {
            var component = Qt.createComponent(data.path)
            compare(component.status, Component.Ready, component.errorString())
            bench.newProject(["S"])
            var id = bench.addItem(data.kind, {"Angle": 90}, [10, 10, 400, 200])
            var view = bench.viewOf(id)
            verify(view, "the panel shows the item")
            compare([view.objectName, view.mSceneId, view.mSceneItemId], ["sceneItemView_" + id, bench.sceneId, id])
            // the place and size are the panel's, not kept with the values
            var values = bench.items.getPropertyValues(bench.sceneId, id)
            for (var key in values) {
                if (["X", "Y", "Width", "Height"].indexOf(key) < 0)
                    compare(JSON.stringify(view.readProperty(key, null)), JSON.stringify(values[key]), key)
            }
            verify(view.mSceneItemPresenter === bench.items && view.mProject === project
                   && view.mStelvaneSyncer === stelvaneSyncer && view.mImageManager === getImageManager
                   && view.mInterface === getRCInterface && view.mCloudClient === tavixProjectCloudClient,
                   "the services")
            compare([view.mInEditState, view.rotation], [false, 90])

            bench.setValue(view, "Angle", 180)
            bench.setValue(view, "Name", "改名")
            compare([view.rotation, view.readProperty("Name"), view.mValues["Name"]], [180, "改名", "改名"])
            bench.panel.mInEditState = true
            compare(bench.viewOf(id), view, "the same view")
            verify(view.mInEditState)
        }

        // The key table's values that the panel gives a view as it makes it are those of a view
        // made with the same item by hand, which writes its table itself, for every view file
        // with a table and values of each kind in every form an item may hold: [number, colour,
        // truth, text].
        function test_keyTableGiven_data() {
            return [
                {tag: "plain", values: [7, "#123456", true, "abc"]},
                {tag: "as text", values: [" 12 ", "red", "true", 5]},
                {tag: "not taken", values: ["abc", "nonsense", "false", ""]},
                {tag: "empty", values: ["", "", 0, null]},
                {tag: "fractions", values: [2.6, "#80112233", "x", true]},
                {tag: "negative", values: [-3.5, "transparent", 1, "改名"]},
                {tag: "beyond whole numbers", values: [4294967298, "#fff", "TRUE", -1]},
                {tag: "infinite", values: ["Infinity", "#0000", false, 0.1]}
            ]
        }
        function test_keyTableGiven(data) {
            var controls = project.getControlManager()
            var kinds = ["number", "color", "bool", "text"]
            var services = ["mSceneId", "mSceneItemId", "mSceneItemPresenter", "mProject", "mStelvaneSyncer",
                            "mImageManager", "mInterface", "mCloudClient", "mInEditState", "mWidthDp", "mHeightDp"]
            var files = {}
            for (var k = 0; k < controls.getControlCout(); ++k) {
                var kind = controls.getControl(k).getControlType()
                bench.newProject(["S"])
                // the first view of a file may be the one that shows the panel its table
                var first = bench.viewOf(bench.addItem(kind, {}, [0, 0, 300, 200]))
                verify(first, "a view of kind " + kind)
                var table = first.mKeyTable
                if (!table)
                    continue
                var values = {}
                for (var r = 0; r < table.length; ++r)
                    values[table[r][0]] = data.values[kinds.indexOf(table[r][3])]
                var id = bench.addItem(kind, values, [0, 0, 300, 200])
                var view = bench.viewOf(id)
                verify(view.mKeysGiven, "kind " + kind + " given its table")
                var path = bench.items.getPropertyValue(bench.sceneId, id, "QmlPath")
                files[path] = true
                var properties = {}
                services.forEach(name => properties[name] = view[name])
                var scripted = createTemporaryObject(Qt.createComponent(path), view.parent, properties)
                verify(scripted && !scripted.mKeysGiven, "kind " + kind + " made by hand")
                compare(table.map(row => String(view[row[1]])), table.map(row => String(scripted[row[1]])),
                        "kind " + kind)
            }
            compare(Object.keys(files).length, 14, "the view files with a key table")
        }

        // A name longer than its view is elided within the view's width wherever the view shows
        // it, so that it never runs over the neighbouring items.
        function test_longNameElided_data() {
            return test_catalogueViews_data()
        }
        function test_longNameElided(data) {
            var name = "一个很长很长很长很长很长很长的名字"
            var view = bench.newView(data.kind, {"Name": name, "Title": name, "TitleHeight": 30,
                                         "TextSize": 20}, [100, 100, 200, 60])
            var shown = []
            var collect = item => {
                for (var i = 0; i < item.children.length; ++i) {
                    var c = item.children[i]
                    if (c.text === name && c.visible)
                        shown.push(c)
                    collect(c)
                }
            }
            collect(view)
            for (var j = 0; j < shown.length; ++j) {
                var left = shown[j].mapToItem(view, 0, 0).x
                verify(left >= -1 && left + Math.min(shown[j].width, shown[j].paintedWidth) <= view.width + 1
                       && shown[j].paintedWidth <= shown[j].width + 1,
                       shown[j].objectName + " stays within the view")
            }
        }

        // Stage views count while they show: two on a scene ask for images, leaving the scene
        // stops the requests, views in a hidden panel never count, and every count is taken back.
        function test_stageViewsCount() {
            var ids = bench.newProject(["S", "T"])
            var a = bench.viewOf(bench.addItem(2, {}, [0, 0, 300, 200]))
            var b = bench.viewOf(bench.addItem(2, {}, [320, 0, 300, 200]))
            verify(a.mCounted && b.mCounted)
            compare(hiddenPanel.viewSlots().length, 0, "the hidden panel makes no views")
            verify(stageRequestsRun())
            bench.scenes.setSelectScene(ids[1])
            verify(!stageRequestsRun(), "no stage view shows")
            bench.panel.visible = false
            bench.scenes.setSelectScene(ids[0])
            verify(!stageRequestsRun(), "only the hidden panels have stage views")
            for (var i = 0; i < 3; ++i) {
                bench.panel.visible = true
                bench.panel.visible = false
            }
            verify(!stageRequestsRun(), "showing and hiding pairs the counts")
            bench.panel.visible = true
            verify(stageRequestsRun())
            bench.items.removeItem(bench.sceneId, bench.panel.mItemModel.itemIdAt(0), false)
            verify(stageRequestsRun(), "one stage view still shows")
            bench.items.removeItem(bench.sceneId, bench.panel.mItemModel.itemIdAt(0), false)
            verify(!stageRequestsRun())
        }

        // A new stage image replaces the shown one once it has loaded: the view never shows an
        // empty frame in between.
        function test_stageImageWithoutFlicker() {
            var view = bench.newView(2, {"TitleHeight": 20}, [0, 0, 320, 200])
            var images = [child(view, "stageImageA"), child(view, "stageImageB")]
            testMirror.setStageImage("red")
            tryVerify(() => images[view.mFront].status === Image.Ready)
            var front = view.mFront
            var shown = []
            for (var i = 0; i < 2; ++i)
                images[i].statusChanged.connect(() => shown.push(images[view.mFront].status))
            testMirror.setStageImage("blue")
            compare(images[front].status, Image.Ready, "the shown image stays while the next loads")
            tryVerify(() => view.mFront !== front)
            compare(images[view.mFront].status, Image.Ready)
            verify(shown.every(status => status === Image.Ready), "nothing but loaded images shown")
            var size = images[view.mFront].sourceSize
            compare([size.width, size.height], [images[0].width, images[0].height], "asked for at the shown size")
        }

        // The slider sends whole values within its range, only changes, nothing without a
        // property or with an empty range, and the default from its reset icon; it shows the
        // mirror's value as a whole number.
        function test_slider_data() {
            return [
                {tag: "three quarters", values: {}, at: 0.75, sent: [{"Volume": 75}]},
                {tag: "the value already set", values: {}, at: 0.4, sent: []},
                {tag: "brightness", kind: 18, values: {}, at: 0.25, sent: [{"Brightness": -50}]},
                {tag: "no property", values: {"ProName": ""}, at: 0.75, sent: []},
                {tag: "empty range", values: {"MinIntValue": 50, "MaxIntValue": 50}, at: 0.75, sent: []},
                {tag: "reversed range", values: {"MinIntValue": 80, "MaxIntValue": 20}, at: 0.75, sent: []},
                {tag: "reset", values: {"Slider_Default": 30}, reset: true, sent: [{"Volume": 30}]},
                {tag: "near the end", volume: 92, values: {}, at: 0.25, sent: [{"Volume": 25}]}
            ]
        }
        function test_slider(data) {
            testMirror.setGlobalProperty("Volume", data.volume || 40.4)
            testMirror.setGlobalProperty("Brightness", 0)
            var view = bench.newView(data.kind || 17, data.values, [0, 100, 453, 50])
            var bar = child(view, "sliderBar")
            compare(bar.width, 400)
            if (data.kind === undefined && data.values.ProName === undefined)
                compare(child(view, "sliderValue").text, String(data.volume || 40))
            var handle = child(view, "sliderHandle")
            var value = child(view, "sliderValue")
            verify(value.x + value.width <= handle.x || handle.x + handle.width <= value.x, "the handle leaves the value free")
            bench.actionSpy.clear()
            if (data.reset)
                mouseClick(child(view, "sliderReset"))
            else
                mouseClick(bar, bar.width * data.at, 25)
            compare(bench.actions(), data.sent.map(value => ["item", 7, value]))
        }

        // The slider's name shows whole above a narrow or square slider too: it is elided to the
        // view's width, not to the bar's.
        function test_sliderNameWidth_data() {
            return [
                {tag: "wide", kind: 17, size: [300, 50]},
                {tag: "square volume", kind: 17, size: [100, 100]},
                {tag: "narrow brightness", kind: 18, size: [80, 50]}
            ]
        }
        function test_sliderNameWidth(data) {
            var view = bench.newView(data.kind, {"Name": "音量", "TextSize": 12}, [0, 100].concat(data.size))
            var name = child(view, "sliderName")
            verify(name.paintedWidth > 0 && !name.truncated, "the name shows whole")
            verify(name.mapToItem(view, name.width, 0).x <= view.width + 1, "within the view")
        }

        // Pressed and dragged: each new value once, none beyond the end of the bar; the server's
        // answer moves the value shown.
        function test_sliderDrag() {
            var view = bench.newView(17, {}, [0, 100, 453, 50])
            var bar = child(view, "sliderBar")
            mousePress(bar, 100, 25)
            mouseMove(bar, 101, 25, -1, Qt.LeftButton)
            mouseMove(bar, 300, 25, -1, Qt.LeftButton)
            mouseMove(bar, 460, 25, -1, Qt.LeftButton)
            mouseRelease(bar, 460, 25)
            compare(bench.actions(), [["item", 7, {"Volume": 25}], ["item", 7, {"Volume": 75}]])
            tryCompare(child(view, "sliderValue"), "text", "75")
        }

        // The label's alignment: left, centre or right across (anything else left), top, centre or
        // bottom down (anything else centre).
        function test_labelAlignment_data() {
            return [
                {tag: "left top", h: 0, v: 3, align: [Text.AlignLeft, Text.AlignTop]},
                {tag: "centre", h: 1, v: 4, align: [Text.AlignHCenter, Text.AlignVCenter]},
                {tag: "right bottom", h: 2, v: 5, align: [Text.AlignRight, Text.AlignBottom]},
                {tag: "vertical values across", h: 4, v: 1, align: [Text.AlignLeft, Text.AlignVCenter]},
                {tag: "out of range", h: -1, v: 9, align: [Text.AlignLeft, Text.AlignVCenter]}
            ]
        }
        function test_labelAlignment(data) {
            var view = bench.newView(21, {"Name": "标签", "TextHAlignment": data.h, "TextVAlignment": data.v})
            var text = child(view, "labelText")
            compare([text.horizontalAlignment, text.verticalAlignment], data.align)
            bench.setValue(view, "TextHAlignment", 2)
            compare(text.horizontalAlignment, Text.AlignRight)
        }

        // In edit mode the label shows a blue veil while selected; it takes no taps.
        function test_labelSelectAndTap() {
            var view = bench.newView(21, {"Name": "标签"})
            var veil = child(view, "selectOverlay")
            bench.setValue(view, "Select", true)
            verify(!veil.visible)
            bench.panel.mInEditState = true
            verify(veil.visible)
            bench.panel.mInEditState = false
            mouseClick(view)
            compare(bench.actionSpy.count, 0)
        }

        // The scene list: the scenes its types name, in the project's order, starting with the
        // shown scene marked; scenes come at their place, a type change neither loses nor doubles
        // an entry, renames reach every list; a tap plays the click sound and shows the scene.
        function test_sceneList() {
            var ids = bench.newProject(["A1", "B1", "A2"])
            var list = bench.viewOf(bench.addItem(28, {"TypeNameList": "A；C"}, [0, 0, 400, 100]))
            var catalog = bench.viewOf(bench.addItem(32, {"TypeNameList": "A;C"}, [0, 150, 400, 300]))
            compare(entries(list.mScenes), ["A1*", "A2"])
            var added = bench.scenes.insertScene("A3", "", "", 1, false)
            compare(entries(list.mScenes), ["A1*", "A2"], "no type yet")
            bench.scenes.setPropertyValue(added, "TypeName", "A", false)
            compare(entries(list.mScenes), ["A1*", "A3", "A2"], "at its place")
            bench.scenes.setPropertyValue(added, "TypeName", "C", false)
            compare(entries(list.mScenes), ["A1*", "A3", "A2"], "still once")
            bench.scenes.setPropertyValue(added, "Name", "改名", false)
            compare(entries(list.mScenes), ["A1*", "改名", "A2"])
            compare(entries(catalog.mScenes), ["A1*", "改名", "A2"])
            bench.scenes.setPropertyValue(ids[2], "TypeName", "B", false)
            compare(entries(list.mScenes), ["A1*", "改名"])
            bench.scenes.moveScene(added, 0, false)
            compare(entries(list.mScenes), ["改名", "A1*"])
            bench.items.setPropertyValue(bench.sceneId, list.mSceneItemId, "TypeNameList", "B", false)
            compare(entries(list.mScenes), ["B1", "A2"])

            bench.actionSpy.clear()
            mouseClick(child(list, "sceneListEntry_" + ids[2]))
            compare(bench.actions(), [["", 54, ""]])
            compare(bench.scenes.getSelectSceneId(), ids[2])
        }

        // The catalog indents a row by its scene's level and writes it smaller (never below one
        // pixel); a tap shows the scene without a sound.
        function test_catalog_data() {
            return [
                {tag: "root", level: 0, values: {}, indent: 0, font: 24},
                {tag: "level 2", level: 2, values: {}, indent: 20, font: 14},
                {tag: "deep", level: 9, values: {"IndentInitFont": 10}, indent: 90, font: 1}
            ]
        }
        function test_catalog(data) {
            var ids = bench.newProject(["A1", "A2"])
            bench.scenes.setPropertyValue(ids[1], "IndentLevel", data.level, false)
            var view = bench.viewOf(bench.addItem(32, Object.assign({"TypeNameList": "A"}, data.values),
                                                  [0, 0, 400, 300]))
            var name = child(child(view, "catalogRow_" + ids[1]), "catalogRowName")
            compare([name.anchors.leftMargin, name.font.pixelSize], [data.indent, data.font])
            bench.actionSpy.clear()
            mouseClick(child(view, "catalogRow_" + ids[1]))
            compare(bench.scenes.getSelectSceneId(), ids[1])
            compare(bench.actionSpy.count, 0)
        }
    }
}
