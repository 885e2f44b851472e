import QtQuick
import QtTest
import "qrc:/qml/propertyPanel"

// The property panel on the real presenters: one row per visible property of the focused scene or
// item, editors that write what the user typed as one undoable step of the right type, rows that
// follow the model (undo and redo included), and nothing written while a row fills itself.
RCTestMainWindow {
    id: mainWindow

    readonly property var scenes: project.getScenePresenter()
    readonly property var items: project.getSceneItemPresenter()
    property string sceneId: ""

    RCPropertyPanel {
        id: panel
        width: 400
        height: 740
        mProject: project
        mMessageBoxManager: getRCMessageBoxManager
        mImageManager: getImageManager
        mPlatform: project.getPlatform()
        mScenePresenter: mainWindow.scenes
        mSceneItemPresenter: mainWindow.items
    }
    SignalSpy {
        id: boxSpy
        target: getRCMessageBoxManager
        signalName: "messageBoxShow"
    }

    TestCase {
        name: "PropertyPanel"
        when: windowShown

        // A kind's item template, with extra property records appended.
        function template(kind, extraRecords) {
            var json = project.getControlManager().getControlByType(kind).getInstantiationParam().toJson()
            if (extraRecords)
                json.propertyArray = json.propertyArray.concat(extraRecords)
            return json
        }
        function addItem(kind, extraRecords) {
            var id = items.addItem(sceneId, template(kind, extraRecords), false)
            verify(id !== "", "item of kind " + kind)
            return id
        }
        // Focuses the item and waits until its rows are laid out.
        function focusItem(itemId) {
            items.setPropertyValue(sceneId, itemId, "Focus", true, false)
            compare(panel.mFocusId, itemId)
            waitForItemPolished(findChild(panel, "rowColumn"))
        }
        function focusScene() {
            scenes.setPropertyValue(sceneId, "Focus", true, false)
            compare(panel.mFocusId, sceneId)
            waitForItemPolished(findChild(panel, "rowColumn"))
        }
        function rowModel() {
            return findChild(panel, "rowModel")
        }
        function rows() {
            return findChild(panel, "rowRepeater")
        }
        function row(name) {
            var r = rows().itemAt(rowModel().rowOf(name))
            verify(r, "row " + name)
            return r
        }
        // The property names of the rows, top to bottom.
        function rowNames() {
            var names = []
            for (var i = 0; i < rows().count; ++i)
                names.push(rows().itemAt(i).mPropertyName)
            return names
        }
        function input(name) {
            return findChild(row(name), "input")
        }
        // Replaces the input's text by what the user types, key by key.
        function typeInto(field, text) {
            field.forceActiveFocus()
            field.selectAll()
            keyClick(Qt.Key_Delete)
            for (var i = 0; i < text.length; ++i)
                keyClick(text[i])
        }
        function value(itemId, name) {
            return items.getPropertyValue(sceneId, itemId, name)
        }
        // The visible properties of an item that have an editor, in property order.
        function expectedRows(itemId) {
            var names = []
            for (var i = 0; i < items.getPropertyCount(sceneId, itemId); ++i) {
                if (items.getPropertyVisible(sceneId, itemId, i) && items.getPropertyQmlFile(sceneId, itemId, i) !== "")
                    names.push(items.getPropertyName(sceneId, itemId, i))
            }
            return names
        }

        function init() {
            var name = {"name": "Name", "description": "名称", "visible": true, "value": "S", "display": {"type": 0}}
            var json = {"sceneArray": {"sceneArray": [{"propertyArray": [name]}]}}
            verify(project.setProject(json))
            sceneId = scenes.getSceneId(0)
            scenes.setSelectScene(sceneId)
            verify(project.saveProjectPacket(testSupport.tempPath() + "/packet"), "a packet with nothing to save")
            verify(!testSupport.canUndo())
            boxSpy.clear()
        }

        function test_rowsOfVisibleProperties_data() {
            return [
                {tag: "custom", kind: 1, some: ["Name", "CustomCmdTcpipType", "CustomCmdToIp", "CustomCmdToPort", "IconPath"]},
                {tag: "program manager", kind: 3, some: ["FrameColor", "ProgramManager_Node_Width", "TitleHeight"]},
                {tag: "startup", kind: 19, some: ["MacAddress"]},
                {tag: "label", kind: 21, some: ["TextHAlignment", "TextVAlignment"]},
                {tag: "script", kind: 27, some: ["Script"]},
                {tag: "random play", kind: 30, some: ["TrackNameList"]}
            ]
        }
        function test_rowsOfVisibleProperties(data) {
            var itemId = addItem(data.kind)
            focusItem(itemId)
            var expected = expectedRows(itemId)
            compare(rowNames(), expected)
            for (var i = 0; i < data.some.length; ++i)
                verify(expected.indexOf(data.some[i]) >= 0, data.some[i])
            for (var hidden of ["Id", "QmlPath", "Focus", "Select", "ActionType", "CmdType"])
                compare(rowModel().rowOf(hidden), -1, hidden + " is hidden")
            var name = row("Name")
            compare(name.mDescription, items.getPropertyDescription(sceneId, itemId, "Name"))
            compare(name.objectName, "row_Name")
            compare(findChild(name, "nameText").text, name.mDescription)
            compare(name.height, 36)
            compare(name.width, panel.width - (findChild(panel, "rowView").width - findChild(panel, "rowColumn").width))
        }

        function test_sceneRowsAndSelection() {
            focusScene()
            var names = rowNames()
            for (var shown of ["Name", "TypeName", "IndentLevel", "Width", "Height", "IconPath", "BackgroundImg"])
                verify(names.indexOf(shown) >= 0, shown)
            verify(names.indexOf("Id") < 0 && names.indexOf("Focus") < 0)
            compare(findChild(panel, "panelTitle").text, "属性")

            var a = addItem(1)
            var b = addItem(1)
            var view = findChild(panel, "rowView")
            // the panel follows a change of the selection once the event loop turns
            items.setPropertyValue(sceneId, a, "Select", true, false)
            tryCompare(rowModel(), "objectId", a, 1000, "the one selected item is shown")
            verify(view.visible, "one selected item")
            items.setPropertyValue(sceneId, b, "Select", true, false)
            tryVerify(function() { return !view.visible }, 1000, "two selected items hide the rows")
            items.setPropertyValue(sceneId, b, "Select", false, false)
            tryVerify(function() { return view.visible })
            items.setPropertyValue(sceneId, a, "Select", false, false)
            tryCompare(rowModel(), "objectId", sceneId, 1000, "no selection: the focused scene")

            scenes.setPropertyValue(sceneId, "Focus", false, false)
            compare(rows().count, 0, "no focus, no rows")
        }

        // What the user types and what the model holds afterwards; null: nothing written.
        function test_typing_data() {
            return [
                {tag: "string", kind: 1, name: "Name", typed: "abc", shown: "abc", expected: "abc", type: "QString"},
                {tag: "int", kind: 1, name: "CustomCmdToPort", typed: "8080", shown: "8080", expected: 8080, type: "int"},
                {tag: "int emptied", kind: 1, name: "CustomCmdToPort", typed: "", shown: "0", expected: null},
                {tag: "int sign refused", kind: 1, name: "CustomCmdToPort", typed: "-5", shown: "5", expected: 5, type: "int"},
                {tag: "int past int range", kind: 1, name: "CustomCmdToPort", typed: "99999999999", shown: "2147483647", expected: 2147483647, type: "int"},
                {tag: "double", kind: 10, name: "Sec", typed: "2.5", shown: "2.5", expected: 2.5, type: "double"},
                {tag: "double trailing point", kind: 10, name: "Sec", typed: "3.", shown: "3.", expected: 3},
                {tag: "double lone point", kind: 10, name: "Sec", typed: ".", shown: ".", expected: 0},
                {tag: "double emptied", kind: 10, name: "Sec", typed: "", shown: "0", expected: 0},
                {tag: "double second point", kind: 10, name: "Sec", typed: "1.2.3", shown: "1.23", expected: 1.23},
                {tag: "ip", kind: 1, name: "CustomCmdToIp", typed: "10.0.0.1", shown: "10.0.0.1", expected: "10.0.0.1", type: "QString"},
                {tag: "ip octet past 255", kind: 1, name: "CustomCmdToIp", typed: "192.168.1.300", shown: "192.168.1.30", expected: "192.168.1.30"},
                {tag: "ip incomplete", kind: 1, name: "CustomCmdToIp", typed: "10.0.0", shown: "10.0.0", expected: null},
                {tag: "ip letters", kind: 1, name: "CustomCmdToIp", typed: "a1.b2", shown: "1.2", expected: null},
                {tag: "mac", kind: 19, name: "MacAddress", typed: "0a1b2c3d4e5f", shown: "0a-1b-2c-3d-4e-5f", expected: "0a-1b-2c-3d-4e-5f", type: "QString"},
                {tag: "mac five groups", kind: 19, name: "MacAddress", typed: "0a1b2c3d4e", shown: "0a-1b-2c-3d-4e-", expected: null},
                {tag: "mac not hex", kind: 19, name: "MacAddress", typed: "zz", shown: "-----", expected: null}
            ]
        }
        function test_typing(data) {
            var itemId = addItem(data.kind)
            focusItem(itemId)
            var before = value(itemId, data.name)
            typeInto(input(data.name), data.typed)
            compare(input(data.name).text, data.shown)
            if (data.expected === null) {
                compare(value(itemId, data.name), before, "nothing written")
                verify(!testSupport.canUndo())
                return
            }
            compare(value(itemId, data.name), data.expected)
            if (data.type)
                compare(testSupport.propertyType(sceneId, itemId, data.name), data.type)
            testSupport.undo()
            compare(value(itemId, data.name), before, "the edit is one undo step")
            verify(!testSupport.canUndo())
        }

        function test_rowFollowsUndoAndRedo() {
            var itemId = addItem(1)
            focusItem(itemId)
            var before = value(itemId, "Name")
            typeInto(input("Name"), "new name")
            compare(value(itemId, "Name"), "new name")
            testSupport.undo()
            compare(input("Name").text, before)
            testSupport.redo()
            compare(input("Name").text, "new name")
            items.setPropertyValue(sceneId, itemId, "CustomCmdToPort", 77, true)
            compare(input("CustomCmdToPort").text, "77", "a change from elsewhere shows")

            var other = addItem(1)
            items.setPropertyValue(sceneId, other, "Name", "other", false)
            compare(input("Name").text, "new name", "rows ignore other items")
        }

        function test_focusWritesNothing_data() {
            return [
                {tag: "custom (radio, ip, icon)", kind: 1, set: {"CustomCmdTcpipType": 7}},
                {tag: "label (combo boxes)", kind: 21, set: {"TextHAlignment": 99}},
                {tag: "stage view (colours by name)", kind: 2, set: {"BackgroundColor": "white"}},
                {tag: "program manager (many colours)", kind: 3, set: {"ProgramManager_Tab_Color": "#40ff0000"}},
                {tag: "startup (bad mac)", kind: 19, set: {"MacAddress": "01-02-03-04-05"}},
                {tag: "script", kind: 27, set: {"Script": "执行(场景1,按钮1);"}},
                {tag: "random play", kind: 30, set: {"TrackNameList": "A;B"}},
                {tag: "volume (double)", kind: 17, set: {"Slider_HandlerOpacity": 0.5}}
            ]
        }
        function test_focusWritesNothing(data) {
            var itemId = addItem(data.kind)
            for (var key in data.set)
                items.setPropertyValue(sceneId, itemId, key, data.set[key], false)
            // The added item is a change: saved, so that only what focusing does counts.
            verify(project.saveProjectPacket(testSupport.tempPath() + "/packet"))
            var before = {}
            for (var n of expectedRows(itemId))
                before[n] = value(itemId, n)
            focusScene()
            focusItem(itemId)
            focusScene()
            focusItem(itemId)
            verify(rows().count > 0)
            verify(!testSupport.canUndo(), "nothing recorded")
            verify(!project.hasChangedOnClosing())
            for (var name in before)
                compare(value(itemId, name), before[name], name)
        }

        function test_choiceRows() {
            var records = [
                {"name": "Mode", "description": "模式", "visible": true, "value": 1,
                 "display": {"type": 4, "data": {"ComboBoxItemNameList": ["a", "b", "c"], "ComboBoxItemDataList": [0, 1]}}},
                {"name": "Fire", "description": "触发", "visible": true, "value": false, "display": {"type": 9, "data": {}}},
                {"name": "Picture", "description": "图", "visible": true, "value": "", "display": {"type": 10, "data": {}}}
            ]
            var itemId = addItem(1, records)
            focusItem(itemId)
            compare(rowModel().rowOf("Picture"), -1, "an image property has no editor")

            var combo = findChild(row("Mode"), "comboBox")
            compare(combo.count, 2, "only the paired entries")
            compare(combo.currentIndex, 1)
            combo.currentIndex = 0
            combo.activated(0)
            compare(value(itemId, "Mode"), 0)
            items.setPropertyValue(sceneId, itemId, "Mode", 5, false)
            compare(combo.currentIndex, 0, "a value of no entry leaves the selection")

            var radio = findChild(row("CustomCmdTcpipType"), "radio_1")
            verify(findChild(row("CustomCmdTcpipType"), "radio_0").checked)
            mouseClick(radio)
            compare(value(itemId, "CustomCmdTcpipType"), 1)
            testSupport.undo()
            verify(findChild(row("CustomCmdTcpipType"), "radio_0").checked, "undo checks the earlier button")

            var seen = []
            var onChange = function (s, i, name, v) { if (name === "Fire") seen.push(v) }
            items.itemPropertyValueChanged.connect(onChange)
            var button = findChild(row("Fire"), "triggerButton")
            mousePress(button)
            mouseRelease(button)
            items.itemPropertyValueChanged.disconnect(onChange)
            compare(seen, [true, false])
        }

        function test_color_data() {
            return [
                {tag: "transparency past 100", typed: "150", shown: "100", alpha: 0},
                {tag: "half", typed: "50", shown: "50", alpha: 128 / 255},
                {tag: "emptied", typed: "", shown: "0", alpha: null}
            ]
        }
        function test_color(data) {
            var itemId = addItem(2)
            items.setPropertyValue(sceneId, itemId, "BackgroundColor", "#ff0000", false)
            focusItem(itemId)
            var field = findChild(row("BackgroundColor"), "transparencyInput")
            compare(field.text, "0")
            typeInto(field, data.typed)
            compare(field.text, data.shown)
            var c = Qt.color(value(itemId, "BackgroundColor"))
            if (data.alpha === null) {
                compare(value(itemId, "BackgroundColor"), "#ff0000")
                return
            }
            fuzzyCompare(c.a, data.alpha, 0.003)
            compare([c.r, c.g, c.b], [1, 0, 0], "the colour keeps its hue")
        }

        function test_colorFollowsModelAndDialog() {
            var itemId = addItem(2)
            focusItem(itemId)
            var r = row("BackgroundColor")
            var field = findChild(r, "transparencyInput")
            items.setPropertyValue(sceneId, itemId, "BackgroundColor", "#4000ff00", true)
            compare(field.text, "75", "alpha 0.25 shows transparency 75")
            compare(findChild(r, "swatch").color, Qt.color("#4000ff00"))
            typeInto(field, "20")
            mouseClick(findChild(r, "swatch"))
            verify(r.mDialog, "the swatch opens the colour dialog")
            compare(r.mDialog.color, Qt.color("#cc00ff00"), "the dialog starts from the shown colour")
            r.mDialog.color = "#0000ff"
            r.mDialog.accept()
            var c = Qt.color(value(itemId, "BackgroundColor"))
            compare([c.r, c.g, c.b], [0, 0, 1])
            fuzzyCompare(c.a, 0.8, 0.003)
        }

        function test_trackListFill() {
            var itemId = addItem(30)
            focusItem(itemId)
            var editor = findChild(row("TrackNameList"), "editor")
            editor.forceActiveFocus()
            keyClick("x")
            compare(value(itemId, "TrackNameList"), "x", "the editor writes what is typed")
            stelvaneSyncer.clearTrack()
            mouseClick(findChild(row("TrackNameList"), "iconButton"))
            compare(value(itemId, "TrackNameList"), "x", "no tracks: the list stays")
            verify(stelvaneSyncer.addTrack({"Id": "t1", "Name": "前奏"}))
            verify(stelvaneSyncer.addTrack({"Id": "t2", "Name": "B"}))
            mouseClick(findChild(row("TrackNameList"), "iconButton"))
            compare(value(itemId, "TrackNameList"), "前奏;B")
            compare(editor.text, "前奏;B")
            stelvaneSyncer.clearTrack()
        }

        function test_scriptHelp() {
            var itemId = addItem(27)
            focusItem(itemId)
            compare(row("Script").height, 120)
            mouseClick(findChild(row("Script"), "iconButton"))
            compare(boxSpy.count, 1)
            var id = boxSpy.signalArguments[0][0]
            compare(getRCMessageBoxManager.getTitle(id), "脚本使用说明")
            compare(getRCMessageBoxManager.getText(id),
                    "功能:\n    点击场景1中的按钮1，等待1秒，点击场景2中的按钮2\n\n脚本:\n    执行(场景1,按钮1);\n    等待(1000);\n    执行(场景2,按钮2);")
            compare([getRCMessageBoxManager.okButtonIsVisible(id), getRCMessageBoxManager.cancelButtonIsVisible(id)],
                    [true, false], "a notice has one 确定")
            getRCMessageBoxManager.close(id)
        }

        function test_iconWritesFileUrl_data() {
            return [
                {tag: "plain", path: "/tmp/icons/a.png", url: "file:///tmp/icons/a.png"},
                {tag: "blank, hash, percent", path: "/tmp/my icons/#1 100%.png", url: "file:///tmp/my%20icons/%231%20100%25.png"},
                {tag: "windows drive", path: "C:\\图标\\a.png", url: "file:///C:/%E5%9B%BE%E6%A0%87/a.png"}
            ]
        }
        function test_iconWritesFileUrl(data) {
            var itemId = addItem(1)
            focusItem(itemId)
            row("IconPath").photoSelection().imageSelected(data.path)
            compare(value(itemId, "IconPath"), data.url)
            compare(findChild(row("IconPath"), "preview").source, data.url)
        }

        // The "×" empties the picture in one undoable step, also one whose file is gone.
        function test_iconClears() {
            var itemId = addItem(1)
            focusItem(itemId)
            row("IconPath").photoSelection().imageSelected("/tmp/gone/a.png")
            var clear = findChild(row("IconPath"), "clearButton")
            verify(clear.visible)
            mouseClick(clear)
            compare(value(itemId, "IconPath"), "")
            verify(!clear.visible)
            testSupport.undo()
            verify(value(itemId, "IconPath") !== "", "undone")
        }

        function test_rowsDoNotPileUp() {
            var a = addItem(3)
            var b = addItem(1)
            focusItem(a)
            wait(0)
            var objects = testSupport.objectCount(panel)
            var count = rows().count
            verify(objects > 5 * count, "the rows are counted")
            for (var i = 0; i < 30; ++i) {
                focusItem(i % 2 ? a : b)
                if (i % 3 === 0)
                    focusScene()
            }
            focusItem(a)
            wait(0)
            compare(rows().count, count)
            compare(findChild(panel, "rowColumn").children.length, count + 1, "the rows and their repeater")
            compare(testSupport.objectCount(panel), objects, "every dropped row is gone")
        }
    }
}
