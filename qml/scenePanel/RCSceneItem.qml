import QtQuick

// The base of every scene item view. The scene panel creates the view from the item's "QmlPath"
// with mInEditState, mSceneItemPresenter, mProject, mWidthDp and mHeightDp (canvas pixels per
// scene unit), then calls setSceneId and setSceneItemId; the view fills the place the panel keeps
// in step with the item's "X", "Y", "Width" and "Height". The view follows its own item only: the
// panel hands it every other change of its item's properties (itemPropertyChanged), which arrives
// as sig_sceneItemPropertyChanged; a new item id arrives as sig_sceneItemChanged, upon which a
// view reads what it shows (readProperty). Views show the mirror of the media server through
// mStelvaneSyncer (the root-context "stelvaneSyncer", taken when the view is completed).
//
// A view's content goes into mContentItem, which is placed into an inner container filling the
// view; the whole view is turned by the item's "Angle". Views only display and ask for actions
// (triggerAction); the panel, the presenters and the actions do the work.
Item {
    id: root

    property string mSceneId: ""
    property string mSceneItemId: ""
    property var mSceneItemPresenter: null
    property var mProject: null
    property var mStelvaneSyncer: null
    // The image manager, the small QML services (IRCInterface) and the cloud client.
    property var mImageManager: null
    property var mInterface: null
    property var mCloudClient: null
    property bool mInEditState: true
    property int mAngle: 0
    property bool mSelect: false
    property Item mContentItem: null
    property real mWidthDp: 1
    property real mHeightDp: 1
    // The item keys a view shows, each [key, view property, default, kind]: the base writes them
    // into the view's properties when the view is completed (defaults), when it gets its item and
    // whenever one of them changes. kind "text", "number", "bool" or "color"; a value that is no
    // such thing (a colour that does not parse, a number that is not finite) reads as the default.
    property var mKeyTable: []
    // The item's values (name -> value), read in one call when the view gets its item and kept in
    // step with the changes handed to the view; its place and size are not kept here.
    property var mValues: ({})
    // The inner container; button views shift it while pressed.
    readonly property alias mContainer: container

    signal sig_sceneItemChanged
    signal sig_sceneItemPropertyChanged(string sProName, var value)
    // Declared for views that report their own removal; the base never emits it.
    signal sig_itemRemove(var sId)

    function setSceneId(sceneId) {
        if (sceneId !== mSceneId)
            mSceneId = sceneId
    }
    function setSceneItemId(sceneItemId) {
        if (sceneItemId === mSceneItemId)
            return
        mSceneItemId = sceneItemId
        mValues = mSceneItemPresenter && sceneItemId !== ""
                ? mSceneItemPresenter.getPropertyValues(mSceneId, sceneItemId) : ({})
        mAngle = Number(readProperty("Angle", 0)) || 0
        mSelect = Boolean(readProperty("Select", false))
        readKeys()
        sig_sceneItemChanged()
    }
    // The value of the item's property key; fallback while no item is set, when the item lacks
    // the property or holds no value for it. A key the values read with the item lack is asked
    // for (an item may gain properties after its view was made).
    function readProperty(key, fallback) {
        var value = mValues[key]
        if (value === undefined && !(key in mValues)) {
            if (!mSceneItemPresenter || mSceneItemId === ""
                    || !mSceneItemPresenter.containProperty(mSceneId, mSceneItemId, key))
                return fallback
            value = mSceneItemPresenter.getPropertyValue(mSceneId, mSceneItemId, key)
        }
        return value === undefined || value === null ? fallback : value
    }
    // readProperty as text ("" stays "").
    function readText(key, fallback) {
        var value = readProperty(key, fallback)
        return value === undefined || value === null ? "" : String(value)
    }
    // value as a key of kind ("text", "number", "bool", "color"), fallback when it is none.
    function keyValue(kind, value, fallback) {
        if (value === undefined || value === null)
            return fallback
        if (kind === "number") {
            var number = Number(value)
            return value !== "" && isFinite(number) ? number : fallback
        }
        if (kind === "bool")
            return typeof value === "string" ? value === "true" : Boolean(value)
        var text = String(value)
        if (kind === "color")
            return text !== "" && Qt.colorEqual(text, text) ? text : fallback
        return text
    }
    function readKeys() {
        for (var i = 0; i < mKeyTable.length; ++i) {
            var row = mKeyTable[i]
            root[row[1]] = keyValue(row[3], readProperty(row[0], row[2]), row[2])
        }
    }
    function readKey(sName, value) {
        for (var i = 0; i < mKeyTable.length; ++i) {
            var row = mKeyTable[i]
            if (row[0] === sName)
                root[row[1]] = keyValue(row[3], value, row[2])
        }
    }
    // A property of the view's item changed.
    function itemPropertyChanged(sName, value) {
        mValues[sName] = value
        if (sName === "Angle")
            mAngle = Number(value) || 0
        else if (sName === "Select")
            mSelect = Boolean(value)
        readKey(sName, value)
        sig_sceneItemPropertyChanged(sName, value)
    }
    function placeContent() {
        if (!mContentItem || mContentItem.parent === container)
            return
        mContentItem.parent = container
        mContentItem.anchors.fill = container
    }
    // Asks for an action for this item; the project hands it to the action manager.
    function triggerAction(actType, data) {
        if (mSceneItemPresenter)
            mSceneItemPresenter.triggerAction(mSceneId, mSceneItemId, actType, data)
    }

    rotation: mAngle

    onMContentItemChanged: placeContent()
    Component.onCompleted: {
        readKeys()
        placeContent()
        if (typeof stelvaneSyncer !== "undefined")
            mStelvaneSyncer = stelvaneSyncer
    }

    Item {
        id: container
        objectName: "sceneItemContainer"
        anchors.fill: parent
    }
}
