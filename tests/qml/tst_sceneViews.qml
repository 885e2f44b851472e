import QtQuick
import QtTest
import "qrc:/qml/scenePanel"

RCTestMainWindow {
    id: mainWindow

    readonly property var scenes: project.getScenePresenter()
    readonly property var items: project.getSceneItemPresenter()

    RCScenePanel {
        id: panel
        width: 1000
        height: 700
        mInEditState: false
        mScenePresenter: mainWindow.scenes
        mSceneItemPresenter: mainWindow.items
    }

    TestCase {
        name: "SceneViews"
        when: windowShown

        property string sceneId: ""

        function newScene() {
            verify(project.setProject({"sceneArray": {"sceneArray": [
                {"propertyArray": [{"name": "Name", "value": "S"}, {"name": "TypeName", "value": "A"}]},
                {"propertyArray": [{"name": "Name", "value": "T"}, {"name": "TypeName", "value": "B"}]}]}}))
            sceneId = scenes.getSelectSceneId()
        }
        function addItem(kind, properties, g) {
            var json = project.getControlManager().getControlByType(kind).getInstantiationParam().toJson()
            var records = json.propertyArray
            var rest = Object.assign({}, properties)
            for (var i = 0; i < records.length; ++i) {
                if (records[i].name in rest) {
                    records[i].value = rest[records[i].name]
                    delete rest[records[i].name]
                }
            }
            for (var name in rest)
                records.push({"name": name, "value": rest[name]})
            var id = items.addItem(sceneId, json, false)
            items.setPos(sceneId, id, Qt.point(g[0], g[1]), false)
            items.setSize(sceneId, id, Qt.size(g[2], g[3]), false)
            return id
        }

        // Every view file that the catalogue names loads from the resources, and the panel makes
        // a view of every kind.
        function test_catalogueViews_data() {
            var controls = project.getControlManager()
            var rows = []
            for (var k = 0; k < controls.getControlCout(); ++k) {
                var control = controls.getControl(k)
                var json = control.getInstantiationParam().toJson()
                var path = ""
                for (var i = 0; i < json.propertyArray.length; ++i) {
                    if (json.propertyArray[i].name === "QmlPath")
                        path = json.propertyArray[i].value
                }
                rows.push({tag: control.getControlType() + " " + path, kind: control.getControlType(), path: path})
            }
            return rows
        }
        function test_catalogueViews(data) {
            var component = Qt.createComponent(data.path)
            compare(component.status, Component.Ready, component.errorString())
            newScene()
            var id = addItem(data.kind, {}, [10, 10, 400, 200])
            verify(panel.mItemMap.getValue(id), "the panel shows the item")
        }
    }
}
