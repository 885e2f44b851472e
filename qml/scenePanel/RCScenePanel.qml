import QtQuick
import QtQuick.Controls.Basic
import Rc.IRCAction 1.0
import "../common"
import "../menus"

// The canvas of the shown scene: a black square of mMaxWidth x mMaxHeight canvas pixels at zoom
// divisor 1 (mScale, 1 to 5 in steps of 0.1, Ctrl+wheel) with the scene rectangle in its middle,
// and one view per scene item, made from the item's "QmlPath" and placed from its "X", "Y",
// "Width" and "Height" (scene units: one canvas pixel per unit at divisor 1).
//
// In edit mode the designer selects items (press, Ctrl+press, rubber band), moves and resizes the
// selection (its frame and eight handles), copies, pastes and deletes (context menu, Ctrl+C,
// Ctrl+V, Delete), nudges or resizes by one unit with the arrow keys (Shift resizes) and drops new
// items from the control list. A drag or a resize is one undo step from the geometry at the press
// to the geometry at the release; selection and focus are never recorded. In control mode the
// views take the taps and the canvas only scrolls and zooms.
//
// While visible the panel opens the connect dialog and the join-project dialog when an item of
// its scene asks for them; each dialog is made on first use and kept.
Item {
    id: root

    property string mSceneId: ""
    property var mScenePresenter: null
    property var mSceneItemPresenter: null
    property var mControlManager: null
    readonly property RCMap mItemMap: RCMap {}
    property string mBackgroundImgPath: ""
    property bool mInEditState: true
    property point mCopyPos: Qt.point(0, 0)
    property point mPastePos: Qt.point(0, 0)
    property real mMaxWidth: 30000
    property real mMaxHeight: 30000
    property real mScale: 1
    property real mScreenWidth: 1920
    property real mScreenHeight: 1080
    // The selection frame, canvas pixels.
    readonly property alias mFrameX: editLayer.mFrameX
    readonly property alias mFrameY: editLayer.mFrameY
    readonly property alias mFrameWidth: editLayer.mFrameWidth
    readonly property alias mFrameHeight: editLayer.mFrameHeight
    property var mConnectDialog: null
    property var mJoinProjectDialog: null
    // View components by "QmlPath".
    property var mComponents: ({})
    property bool mCompleted: false

    readonly property real mRectWidth: mScreenWidth / mScale
    readonly property real mRectHeight: mScreenHeight / mScale
    readonly property real mRectX: (mMaxWidth - mScreenWidth) / (2 * mScale)
    readonly property real mRectY: (mMaxHeight - mScreenHeight) / (2 * mScale)

    // Scroll so that the scene rectangle's centre is in the middle of the visible area.
    function centerDisplay() {
        var contentWidth = mMaxWidth / mScale
        var contentHeight = mMaxHeight / mScale
        flick.contentX = clamp(contentWidth / 2 - flick.width / 2, 0, Math.max(0, contentWidth - flick.width))
        flick.contentY = clamp(contentHeight / 2 - flick.height / 2, 0, Math.max(0, contentHeight - flick.height))
    }
    function clamp(value, low, high) {
        return Math.min(high, Math.max(low, value))
    }
    // One zoom step: 1 (in) makes the divisor 0.1 smaller, -1 (out) larger, within 1 to 5.
    function zoomStep(direction) {
        mScale = clamp(Math.round(mScale * 10 - direction) / 10, 1, 5)
        centerDisplay()
    }
    // A scene side as the canvas uses it: a size of zero, below zero or no number is the default.
    function sceneSide(value, fallback) {
        var side = Number(value)
        return isFinite(side) && side > 0 ? side : fallback
    }

    // Scene units <-> canvas pixels, from the current values (the handlers of their changes run
    // before the bindings above follow).
    function rectX() {
        return (mMaxWidth - mScreenWidth) / (2 * mScale)
    }
    function rectY() {
        return (mMaxHeight - mScreenHeight) / (2 * mScale)
    }
    function toCanvasX(sceneX) {
        return sceneX / mScale + rectX()
    }
    function toCanvasY(sceneY) {
        return sceneY / mScale + rectY()
    }
    function toScenePoint(canvasX, canvasY) {
        return Qt.point(Math.round((canvasX - rectX()) * mScale), Math.round((canvasY - rectY()) * mScale))
    }

    function viewOf(itemId) {
        return mItemMap.getValue(itemId)
    }
    // Takes a view off the canvas; it is destroyed once the handler that asked has returned (a
    // view may be the one whose tap switched the scene).
    function retireView(view) {
        if (!view)
            return
        view.visible = false
        view.mSceneItemPresenter = null
        view.parent = null
        view.destroy()
    }
    function clearViews() {
        var keys = mItemMap.getKeys()
        for (var i = 0; i < keys.length; ++i)
            retireView(mItemMap.takeValue(keys[i]))
    }
    // Shows the presenter's selected scene.
    function followSelectedScene() {
        if (!mCompleted)
            return
        var sceneId = mScenePresenter ? mScenePresenter.getSelectSceneId() : ""
        if (sceneId === mSceneId)
            showScene()
        else
            mSceneId = sceneId
    }
    function showScene() {
        if (!mCompleted)
            return
        clearViews()
        editLayer.releasePress()
        if (!mSceneItemPresenter || !mScenePresenter || mSceneId === "") {
            mBackgroundImgPath = ""
            editLayer.updateFrame()
            return
        }
        mScreenWidth = sceneSide(mScenePresenter.getPropertyValue(mSceneId, "Width"), 960)
        mScreenHeight = sceneSide(mScenePresenter.getPropertyValue(mSceneId, "Height"), 540)
        var background = mScenePresenter.getPropertyValue(mSceneId, "BackgroundImg")
        mBackgroundImgPath = background === undefined || background === null ? "" : String(background)
        var count = mSceneItemPresenter.getItemCount(mSceneId)
        for (var i = 0; i < count; ++i)
            addItem(mSceneItemPresenter.getItemId(mSceneId, i))
        centerDisplay()
        editLayer.updateFrame()
    }
    function componentFor(path) {
        var component = mComponents[path]
        if (!component) {
            component = Qt.createComponent(path)
            mComponents[path] = component
        }
        return component
    }
    // Creates the view of an item of the shown scene, once.
    function addItem(itemId) {
        if (itemId === "" || mItemMap.hasKey(itemId))
            return
        var path = String(mSceneItemPresenter.getPropertyValue(mSceneId, itemId, "QmlPath"))
        var component = componentFor(path)
        var view = component.status === Component.Ready
                ? component.createObject(itemLayer, {
                                             "mInEditState": mInEditState,
                                             "mChangesFromHost": true,
                                             "mSceneItemPresenter": mSceneItemPresenter,
                                             "mProject": project
                                         })
                : null
        if (!view) {
            console.warn("sceneItemQml is null", path, component.errorString())
            return
        }
        view.objectName = "sceneItemView_" + itemId
        view.setSceneId(mSceneId)
        view.setSceneItemId(itemId)
        mItemMap.insertValue(itemId, view)
        placeView(itemId)
    }
    function placeView(itemId) {
        var view = viewOf(itemId)
        if (!view)
            return
        var pos = mSceneItemPresenter.getPos(mSceneId, itemId)
        var size = mSceneItemPresenter.getSize(mSceneId, itemId)
        view.x = toCanvasX(pos.x)
        view.y = toCanvasY(pos.y)
        view.width = Math.max(0, size.width) / mScale
        view.height = Math.max(0, size.height) / mScale
        view.mWidthDp = 1 / mScale
        view.mHeightDp = 1 / mScale
    }
    // One of "X", "Y", "Width", "Height" of the view's item took value.
    function placeCoordinate(view, sName, value) {
        if (sName === "X")
            view.x = toCanvasX(value)
        else if (sName === "Y")
            view.y = toCanvasY(value)
        else if (sName === "Width")
            view.width = Math.max(0, value) / mScale
        else
            view.height = Math.max(0, value) / mScale
    }
    function placeAll() {
        var keys = mItemMap.getKeys()
        for (var i = 0; i < keys.length; ++i)
            placeView(keys[i])
        editLayer.updateFrame()
    }

    function handleWheel(wheel) {
        var delta = wheel.angleDelta.y !== 0 ? wheel.angleDelta.y : wheel.angleDelta.x
        if (wheel.modifiers === Qt.ControlModifier) {
            if (delta !== 0)
                zoomStep(delta > 0 ? 1 : -1)
        } else if (wheel.modifiers === Qt.ShiftModifier) {
            flick.contentX = clamp(flick.contentX - Math.sign(delta) * 0.001 * mScale * flick.contentWidth, 0,
                                   Math.max(0, flick.contentWidth - flick.width))
        } else {
            flick.contentY = clamp(flick.contentY - Math.sign(delta) * 0.001 * mScale * flick.contentHeight, 0,
                                   Math.max(0, flick.contentHeight - flick.height))
        }
        wheel.accepted = true
    }
    // The dialog, made from component (a popup of the main window) when there is none yet.
    function dialogOf(dialog, component, properties) {
        return dialog ? dialog : component.createObject(mainWindow.contentItem ? mainWindow.contentItem : mainWindow,
                                                        properties)
    }
    function openConnectDialog(title) {
        mConnectDialog = dialogOf(mConnectDialog, connectDialogComponent, {
                                        "mSetting": project.getSetting(),
                                        "mStelvaneSyncer": project.getStelvaneSyncer()
                                    })
        if (!mConnectDialog)
            return
        mConnectDialog.mTitle = title === undefined || title === null ? "" : String(title)
        mainWindow.calDialogGeometry(mConnectDialog)
        mConnectDialog.open()
    }
    function openJoinProjectDialog() {
        mJoinProjectDialog = dialogOf(mJoinProjectDialog, joinProjectDialogComponent, {"mProjectw": project})
        if (!mJoinProjectDialog)
            return
        mainWindow.calDialogGeometry(mJoinProjectDialog)
        mJoinProjectDialog.open()
    }

    clip: true

    onMScenePresenterChanged: followSelectedScene()
    onMSceneItemPresenterChanged: showScene()
    onMSceneIdChanged: showScene()
    onMInEditStateChanged: {
        var keys = mItemMap.getKeys()
        for (var i = 0; i < keys.length; ++i)
            viewOf(keys[i]).mInEditState = mInEditState
    }
    onMScaleChanged: placeAll()
    onMScreenWidthChanged: placeAll()
    onMScreenHeightChanged: placeAll()
    onWidthChanged: centerDisplay()
    onHeightChanged: centerDisplay()
    onVisibleChanged: {
        if (visible)
            centerDisplay()
    }
    Component.onCompleted: {
        mCompleted = true
        followSelectedScene()
    }
    Component.onDestruction: clearViews()

    Connections {
        target: root.mScenePresenter
        function onSceneSelectChanged(sceneId) {
            root.mSceneId = sceneId
        }
        function onScenePropertyValueChanged(sceneId, sName, value) {
            if (sceneId !== root.mSceneId)
                return
            if (sName === "Width")
                root.mScreenWidth = root.sceneSide(value, 960)
            else if (sName === "Height")
                root.mScreenHeight = root.sceneSide(value, 540)
            else if (sName === "BackgroundImg")
                root.mBackgroundImgPath = value === undefined || value === null ? "" : String(value)
        }
    }
    Connections {
        target: root.mSceneItemPresenter
        function onItemAdded(sceneId, itemId) {
            if (sceneId !== root.mSceneId)
                return
            root.addItem(itemId)
            editLayer.scheduleFrame()
        }
        function onItemRemoved(sceneId, itemId) {
            if (sceneId !== root.mSceneId)
                return
            root.retireView(root.mItemMap.takeValue(itemId))
            editLayer.scheduleFrame()
        }
        function onItemPropertyValueChanged(sceneId, itemId, sName, value) {
            if (sceneId !== root.mSceneId)
                return
            var view = root.viewOf(itemId)
            if (!view)
                return
            view.itemPropertyChanged(sName, value)
            if (sName === "X" || sName === "Y" || sName === "Width" || sName === "Height") {
                root.placeCoordinate(view, sName, Number(value) || 0)
                editLayer.scheduleFrame()
            }
        }
        function onItemSelectChanged(sceneId, selectedItemIds) {
            if (sceneId === root.mSceneId)
                editLayer.scheduleFrame()
        }
        function onActionTrigger(sceneId, itemId, actType, data) {
            if (!root.visible || sceneId !== root.mSceneId)
                return
            if (actType === IRCAction.EActionType_ConnectNetwork)
                root.openConnectDialog(data)
            else if (actType === IRCAction.EActionType_JoinProject)
                root.openJoinProjectDialog()
        }
    }
    Connections {
        target: typeof mainWindow !== "undefined" ? mainWindow : null
        function onWidthChanged() {
            root.centerDisplay()
        }
        function onHeightChanged() {
            root.centerDisplay()
        }
    }

    Component {
        id: connectDialogComponent
        RCConnectDialog {}
    }
    Component {
        id: joinProjectDialogComponent
        RCDialogJoinProject {}
    }
    Flickable {
        id: flick
        objectName: "sceneFlickable"
        anchors.fill: parent
        interactive: false
        clip: true
        contentWidth: root.mMaxWidth / root.mScale
        contentHeight: root.mMaxHeight / root.mScale
        ScrollBar.horizontal: ScrollBar {
            policy: ScrollBar.AlwaysOn
        }
        ScrollBar.vertical: ScrollBar {
            policy: ScrollBar.AlwaysOn
        }

        Rectangle {
            id: canvas
            objectName: "sceneCanvas"
            width: flick.contentWidth
            height: flick.contentHeight
            color: "black"

            RCImage {
                id: sceneRect
                objectName: "sceneRect"
                x: root.mRectX
                y: root.mRectY
                width: root.mRectWidth
                height: root.mRectHeight
                source: root.mSceneId === "" ? "" : root.mBackgroundImgPath
            }
            Item {
                id: itemLayer
                objectName: "sceneItemLayer"
                anchors.fill: parent
            }
            RCSceneEditLayer {
                id: editLayer
                objectName: "sceneEditLayer"
                anchors.fill: parent
                enabled: root.mInEditState
                mPanel: root
            }
        }
    }
    // With no scene: the hint to add one, whole in the visible area.
    RCImage {
        objectName: "needAddSceneHint"
        anchors.fill: flick
        anchors.margins: 20 * dp
        visible: root.mSceneId === ""
        source: visible ? "qrc:/needAddScene.png" : ""
        fillMode: Image.PreserveAspectFit
    }
    MouseArea {
        // Takes the wheel in both modes and lets every press through.
        objectName: "sceneWheelArea"
        anchors.fill: flick
        acceptedButtons: Qt.NoButton
        onWheel: wheel => root.handleWheel(wheel)
    }
}
