import QtQuick
import QtTest
import QtQuick.Controls.Basic
import "qrc:/qml/common"

// The harness's services, and the small widgets' contracts: the owning map, the tab bar, the image
// and the image button, the progress bar, the split view.
RCTestMainWindow {
    id: mainWindow

    property var destroyedNames: []

    Component {
        id: trackedComponent

        QtObject {
            property string name: ""
            Component.onDestruction: mainWindow.destroyedNames.push(name)
        }
    }
    RCMap {
        id: map
    }
    RCTabBar {
        id: tabBar
        width: 300
    }
    RCButton {
        id: button
        x: 100
        y: 100
        width: 40
        height: 40
        mImageSource: "qrc:/undo.png"
        mTips: "上一步"
    }
    RCProgressBar {
        id: progressBar
        width: 153
        height: 30
    }
    RCSplitView {
        id: splitView
        y: 200
        width: 400
        height: 100

        Rectangle {
            id: leftPane
            SplitView.preferredWidth: 300
        }
        Rectangle {
            id: rightPane
        }
    }
    Menu {
        id: menu

        RCMenuItem {
            text: "复制"
        }
        RCMenuItem {
            text: "删除"
        }
    }
    RCImage {
        id: image
        y: 320
        width: 20
        height: 20
        mImageManager: getImageManager
    }
    SignalSpy {
        id: imageSpy
        target: image
        signalName: "sig_showSourceChanged"
    }
    SignalSpy {
        id: tabSpy
        target: tabBar
        signalName: "selectedIndexChanged"
    }
    SignalSpy {
        id: clickSpy
        target: button
        signalName: "clicked"
    }

    TestCase {
        name: "Widgets"
        when: windowShown

        function tracked(name) {
            return trackedComponent.createObject(mainWindow, {"name": name})
        }
        function destroyedAfterEvents() {
            wait(0)
            return mainWindow.destroyedNames.slice().sort()
        }

        function init() {
            map.clearValue()
            tabBar.clearTabButton()
            wait(0)
            mainWindow.destroyedNames = []
            tabSpy.clear()
        }

        // What the program publishes before it loads the main window, as the views find it.
        function test_rootContext() {
            var services = {"project": project, "stelvaneSyncer": stelvaneSyncer, "mousePosition": mousePosition,
                            "rcLog": rcLog, "windowEventFilter": windowEventFilter,
                            "getRCMessageBoxManager": getRCMessageBoxManager, "getImageManager": getImageManager,
                            "getRCInterface": getRCInterface, "tavixProjectCloudClient": tavixProjectCloudClient}
            for (var name in services)
                verify(services[name], name)
            compare(getVersion, "3.0.0")
            compare(project.getScenePresenter().getSceneCount(), 1, "the first scene")
            verify(project.getTemplateProjectCout() > 0)
            compare(project.getStelvaneSyncer(), stelvaneSyncer)
        }

        function test_map_ownership() {
            var taken = tracked("taken")
            map.insertValue("b", tracked("b"))
            map.insertValue("a", tracked("a"))
            map.insertValue("taken", taken)
            map.insertValue("empty", null)
            compare(map.getKeys(), ["b", "a", "taken", "empty"], "insertion order")
            compare(map.getCount(), 4, "null values count as keys")
            verify(!map.hasKey("empty"))
            verify(map.hasKey("a"))

            compare(map.takeValue("taken"), taken)
            map.removeValue("b")
            map.removeValue("missing")
            compare(destroyedAfterEvents(), ["b"])
            map.insertValue("a", tracked("a2"))
            compare(destroyedAfterEvents(), ["a", "b"], "a replaced value is dropped")
            map.clearValue()
            compare(map.getCount(), 0)
            compare(destroyedAfterEvents(), ["a", "a2", "b"], "the taken object survives clearValue")
            compare(taken.name, "taken")
            taken.destroy()
        }

        function test_tabBar() {
            tabBar.addTabButton("Stelvane")
            compare(tabSpy.count, 1)
            compare(tabSpy.signalArguments[0][0], 0, "the first tab becomes current")
            tabBar.addTabButton("Stelvane")
            tabBar.addTabButton("")
            tabBar.addTabButton("quenor")
            tabBar.addTabButton("Vexa")
            compare(tabBar.getTabCount(), 3, "duplicates and empty names are ignored")
            compare(tabSpy.count, 1)
            compare(tabBar.findTabIndexByTitle("Vexa"), 2)
            compare(tabBar.findTabIndexByTitle("none"), -1)

            tryVerify(() => findChild(tabBar, "tab_Vexa"))
            mouseClick(findChild(tabBar, "tab_Vexa"))
            compare(tabBar.mCurrentIndex, 2)
            compare(tabSpy.signalArguments[1][0], 2)

            tabBar.removeTabButton(1)
            compare(tabBar.getTabName(1), "")
            compare(tabBar.getTabName(2), "Vexa")
            compare(tabBar.mCurrentItemIndex, 1, "Vexa moved to the second place")
            tabBar.addTabButton("quenor")
            compare(tabBar.getModel().get(2).index, 3, "a new tab never reuses an index in use")

            tabBar.clearTabButton()
            compare(tabBar.getTabCount(), 0)
            compare(tabBar.mCurrentIndex, -1)
            compare(tabSpy.signalArguments[tabSpy.count - 1][0], -1)
        }

        function test_button() {
            var image = findChild(button, "buttonImage")
            mousePress(button)
            compare(Qt.rect(image.x, image.y, image.width, image.height), Qt.rect(-3, 3, 43, 43))
            mouseRelease(button)
            compare(Qt.rect(image.x, image.y, image.width, image.height), Qt.rect(0, 0, 40, 40))
            compare(clickSpy.count, 1)
            mouseMove(button)
            tryCompare(button, "mTipsVisible", true)
            button.enabled = false
            mouseClick(button)
            compare(clickSpy.count, 1, "a disabled button does not click")
            button.enabled = true
        }

        function test_image() {
            image.source = "qrc:/weizhi.png"
            tryCompare(image, "status", Image.Ready)
            compare(imageSpy.signalArguments[0][0], "qrc:/weizhi.png")
            image.source = ""
            compare(image.status, Image.Null, "an empty source clears the picture")
            compare(imageSpy.count, 2)
        }

        // Entries are 30 high; a black strip of 6 separates them, none hangs under the last one.
        function test_menuItemStrips() {
            menu.popup(0, 0)
            tryCompare(menu, "opened", true)
            var bars = [findChild(menu.itemAt(0), "menuItemBar"), findChild(menu.itemAt(1), "menuItemBar")]
            compare([menu.itemAt(0).height, menu.itemAt(1).height], [30, 30])
            compare([bars[0].height, bars[1].height], [24, 30])
            menu.close()
        }
        function test_splitView() {
            compare(leftPane.width, 300)
            compare(rightPane.x, 304, "a 4-pixel handle")
            compare(rightPane.width, 96)
        }

        function test_progressBar_data() {
            return [
                {tag: "empty", min: 0, max: 100, value: 0, fill: 0, text: "0"},
                {tag: "half", min: 0, max: 100, value: 50, fill: 75, text: "50"},
                {tag: "offset range", min: 10, max: 20, value: 12.6, fill: 39, text: "13"},
                {tag: "above the range", min: 0, max: 100, value: 150, fill: 150, text: "150"},
                {tag: "empty range", min: 5, max: 5, value: 5, fill: 0, text: "5"}
            ]
        }
        function test_progressBar(data) {
            progressBar.mMinValue = data.min
            progressBar.mMaxValue = data.max
            progressBar.mValue = data.value
            compare(findChild(progressBar, "progressFill").width, data.fill)
            compare(findChild(progressBar, "progressValue").text, data.text)
        }
    }
}
