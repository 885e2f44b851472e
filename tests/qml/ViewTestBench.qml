import QtQuick
import QtTest
import "qrc:/qml/scenePanel"

// What the Quick tests of the item views share: a control-mode scene panel on the real
// presenters, a fresh project of scenes, catalogue items placed on its first scene (scene units
// are canvas pixels here), their views, the actions the item presenter was asked for, and what
// reached the stand-in media server while a function ran (serverPeers must be connected for that).
Item {
    id: root

    readonly property var scenes: project.getScenePresenter()
    readonly property var items: project.getSceneItemPresenter()
    readonly property alias panel: panel
    readonly property alias actionSpy: itemActions
    property string sceneId: ""

    // A new project whose scenes are named names (each scene's "TypeName" is its name's first
    // letter); the first one is shown. Answers the scene ids.
    function newProject(names) {
        var scenes = []
        for (var i = 0; i < names.length; ++i)
            scenes.push({"propertyArray": [{"name": "Name", "value": names[i]},
                                           {"name": "TypeName", "value": names[i].charAt(0)}]})
        if (!project.setProject({"sceneArray": {"sceneArray": scenes}}))
            return []
        sceneId = root.scenes.getSelectSceneId()
        return root.scenes.getSceneIds()
    }
    // The catalogue item of kind on the shown scene at g [x, y, width, height] with the given
    // values (replacing the catalogue's, or added); answers its id.
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
    // The view of the item: the one its row of the panel's model made.
    function viewOf(itemId) {
        var slot = panel.viewSlots().find(slot => slot.itemId === itemId)
        return slot ? slot.item : null
    }
    // A new view of kind on the shown scene of a new project.
    function newView(kind, properties, g) {
        newProject(["S"])
        return viewOf(addItem(kind, properties, g === undefined ? [0, 0, 600, 300] : g))
    }
    function setValue(view, key, value) {
        items.setPropertyValue(sceneId, view.mSceneItemId, key, value, false)
    }
    // The actions asked for since actionSpy was cleared: [ids ("" for none, "item" for a view's own), type,
    // data].
    function actions() {
        var list = []
        for (var i = 0; i < itemActions.count; ++i)
            list.push([itemActions.signalArguments[i][1] === "" ? "" : "item", itemActions.signalArguments[i][2],
                       itemActions.signalArguments[i][3]])
        return list
    }
    // The commands that reached the server while fn ran, "name {compact JSON}"; null when they
    // could not be awaited.
    function sentBy(fn) {
        serverPeers.clearWire()
        fn()
        return serverPeers.flushWire() ? serverPeers.wire() : null
    }

    width: panel.width
    height: panel.height

    RCScenePanel {
        id: panel
        width: 1000
        height: 700
        // The services the main window hands every canvas.
        mWindow: mainWindow
        mProject: project
        mStelvaneSyncer: stelvaneSyncer
        mImageManager: getImageManager
        mInterface: getRCInterface
        mCloudClient: tavixProjectCloudClient
        mInEditState: false
        mScenePresenter: root.scenes
        mSceneItemPresenter: root.items
    }
    SignalSpy {
        id: itemActions
        target: root.items
        signalName: "actionTrigger"
    }
}
