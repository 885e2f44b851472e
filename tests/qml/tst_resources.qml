import QtQuick
import QtTest
import "qrc:/qml/common"

// Every picture the views and the catalogue name loads through the image manager.
RCTestMainWindow {
    id: mainWindow

    RCImage {
        id: image
        width: 64
        height: 64
        mImageManager: getImageManager
    }

    TestCase {
        name: "Resources"
        when: windowShown

        // Every picture a view file names, every picture of the catalogue (the controls' icons and
        // their properties' values) and the first scene's background.
        function test_image_data() {
            var sources = {}
            for (var file of testSupport.filesBelow(":/qml")) {
                for (var name of testSupport.readText(":/qml/" + file).match(/qrc:\/[\w\/-]+\.png/g) || [])
                    sources[name] = true
            }
            var controls = project.getControlManager()
            for (var k = 0; k < controls.getControlCout(); ++k) {
                sources[controls.getControl(k).getIconPath()] = true
                for (var record of controls.getControl(k).getInstantiationParam().toJson().propertyArray) {
                    if (/^qrc:.*\.png$/.test(record.value))
                        sources[record.value] = true
                }
            }
            var scenes = project.getScenePresenter()
            sources[scenes.getPropertyValue(scenes.getSceneId(0), "BackgroundImg")] = true
            var rows = Object.keys(sources).sort().map(source => ({tag: source, source: source}))
            verify(rows.length >= 75, rows.length + " pictures")
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
