import QtQuick

// The base of every scene item view. The scene panel creates the view from the item's "QmlPath",
// sets mInEditState, mSceneItemPresenter and mProject, then calls setSceneId and setSceneItemId,
// and keeps the view's place and size (canvas pixels) and mWidthDp / mHeightDp (canvas pixels per
// scene unit) in step with the item. The view follows its own item only: a change of one of its
// properties arrives as sig_sceneItemPropertyChanged; a new item id as sig_sceneItemChanged, upon
// which a view reads what it shows (readProperty). A view follows the presenter's changes itself
// unless mChangesFromHost is set: then its host hands it its item's changes (itemPropertyChanged),
// as the scene panel does for all its views with one connection. Views show the mirror of the media server
// through mStelvaneSyncer (the root-context "stelvaneSyncer", taken when the view is completed).
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
    property bool mInEditState: true
    property int mAngle: 0
    property bool mSelect: false
    property Item mContentItem: null
    property real mWidthDp: 1
    property real mHeightDp: 1
    property bool mChangesFromHost: false
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
        mAngle = Number(readProperty("Angle", 0)) || 0
        mSelect = Boolean(readProperty("Select", false))
        sig_sceneItemChanged()
    }
    // The value of the item's property key; fallback while no item is set, when the item lacks
    // the property or holds no value for it.
    function readProperty(key, fallback) {
        if (!mSceneItemPresenter || mSceneItemId === ""
                || !mSceneItemPresenter.containProperty(mSceneId, mSceneItemId, key))
            return fallback
        var value = mSceneItemPresenter.getPropertyValue(mSceneId, mSceneItemId, key)
        return value === undefined || value === null ? fallback : value
    }
    // readProperty as text ("" stays "").
    function readText(key, fallback) {
        var value = readProperty(key, fallback)
        return value === undefined || value === null ? "" : String(value)
    }
    // A property of the view's item changed.
    function itemPropertyChanged(sName, value) {
        if (sName === "Angle")
            mAngle = Number(value) || 0
        else if (sName === "Select")
            mSelect = Boolean(value)
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
        placeContent()
        if (typeof stelvaneSyncer !== "undefined")
            mStelvaneSyncer = stelvaneSyncer
    }

    Connections {
        target: root.mChangesFromHost ? null : root.mSceneItemPresenter
        function onItemPropertyValueChanged(sceneId, itemId, sName, value) {
            if (itemId === root.mSceneItemId && sceneId === root.mSceneId && itemId !== "")
                root.itemPropertyChanged(sName, value)
        }
    }

    Item {
        id: container
        objectName: "sceneItemContainer"
        anchors.fill: parent
    }
}
