import QtQuick
import QtTest
import "qrc:/qml/common"

// Every picture the interface and the catalogue name loads through the image manager.
RCTestMainWindow {
    id: mainWindow

    RCImage {
        id: image
        width: 64
        height: 64
    }

    TestCase {
        name: "Resources"
        when: windowShown

        function test_image_data() {
            var root = ["addScene", "addScenePress", "alignBottom", "alignHorBisector", "alignHorzontalCenter",
                        "alignLeft", "alignRight", "alignTop", "alignVerBisector", "alignVerticalCenter", "button",
                        "close-pressed", "close", "customButton", "dropDown", "foldUp", "init", "init_pressed",
                        "installTip", "menu", "moreSelections", "needAddScene", "pathSelect", "pause", "pause_hover",
                        "play", "play_hover", "redo", "reset", "run", "run_hover", "scene", "sceneBackground",
                        "sliderHandler", "stop", "stop_hover", "undo", "weizhi", "windowClose", "windowClosePress",
                        "windowIcon", "windowMax", "windowMin", "windowNormal"]
            var control = ["brightness", "cancelStageLink", "closeDisplay", "connect", "custom", "disconnect",
                           "download", "exit", "exitProject", "fastBack", "fastForward", "joinProject", "label",
                           "network", "openDisplay", "pause", "play", "playNext", "playPre", "playState",
                           "playState_Select", "programManager", "programTable", "progressPause", "progressPlay",
                           "progressSlider", "randPlay", "sceneList", "script", "scriptBusying", "shutdown",
                           "stageLink", "stageView", "standby", "startup", "stop", "switchScene", "trackPause",
                           "trackPlay", "trackRun", "trackStop", "volume"]
            compare(root.length, 44)
            compare(control.length, 42)
            var rows = []
            for (var i = 0; i < root.length; ++i)
                rows.push({tag: root[i], source: "qrc:/" + root[i] + ".png"})
            for (var j = 0; j < control.length; ++j)
                rows.push({tag: "control/" + control[j], source: "qrc:/control/" + control[j] + ".png"})
            var controls = project.getControlManager()
            for (var k = 0; k < controls.getControlCout(); ++k) {
                var icon = controls.getControl(k).getIconPath()
                rows.push({tag: "catalogue " + controls.getControl(k).getName(), source: icon})
            }
            return rows
        }
        function test_image(data) {
            image.source = ""
            image.source = data.source
            tryCompare(image, "status", Image.Ready)
        }

        function test_windowIconSize() {
            image.source = "qrc:/windowIcon.png"
            tryCompare(image, "status", Image.Ready)
            var inner = findChild(image, "image")
            compare([inner.implicitWidth, inner.implicitHeight], [37, 37])
        }
    }
}
