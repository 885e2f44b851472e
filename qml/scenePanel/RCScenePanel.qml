import QtQuick
import QtQuick.Controls.Basic
import Rc.IRCAction 1.0
import Rc.RCSceneItemModel 1.0
import Rc.RCSceneItemVeilLayer 1.0
import Rc.RCSceneItemViewLayer 1.0
import Rc.IRCControlManager 1.0
import Rc.IRCImageManager 1.0
import Rc.IRCInterface 1.0
import Rc.IRCProject 1.0
import Rc.IRCStelvaneSyncer 1.0
import Rc.RCMessageBoxManager 1.0
import Rc.RCSceneItemPresenter 1.0
import Rc.RCScenePresenter 1.0
import Rc.TavixProjectCloudClient 1.0
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
// The panel shows its scene only while shown (mShown): a panel that is not shown has no views,
// follows neither the selected scene nor the items, and shows the selected scene again once it is
// shown. While visible it opens the connect dialog and the join-project dialog when an item of its
// scene asks for them, each able to do all it does from the title panel or the menu. The connect
// dialog is the layout's one (mConnectDialogHost's, which also opens it when the server asks for
// the password), so that the ask never stacks a second dialog; without a host the panel makes
// its own. The join dialog is made on first use and kept. A Ctrl+wheel zoom during a
// gesture of the edit layer (a drag, a resize, a rubber band) waits until the gesture ends: the
// gesture works in the canvas pixels of the zoom it began at.
Item {
    id: root

    property string mSceneId: ""
    property RCScenePresenter mScenePresenter: null
    property RCSceneItemPresenter mSceneItemPresenter: null
    property IRCControlManager mControlManager: null
    // Handed to every view: the open project, the mirror of the media server, the image
    // manager, the small QML services (IRCInterface) and the cloud client; and the main window.
    property IRCProject mProject: null
    property IRCStelvaneSyncer mStelvaneSyncer: null
    property IRCImageManager mImageManager: null
    property IRCInterface mInterface: null
    property TavixProjectCloudClient mCloudClient: null
    // For the dialogs the items ask for: their notices, and who holds the layout's connect
    // dialog (openConnectDialog(title), mIpInputDlg: the title panel).
    property RCMessageBoxManager mMessageBoxManager: null
    property var mConnectDialogHost: null
    property var mWindow: null
    // The times the image manager resolved the project's image references again.
    property int mImageResolution: 0
    // Whether the panel shows its scene: while it is visible, unless told otherwise (a layout drawn
    // into a picture while hidden).
    property bool mShown: visible
    // The items of the shown scene, a row per view in scene order.
    readonly property alias mItemModel: itemModel
    // The views of those rows; it finds the views under a point or in a rubber band.
    readonly property alias mViewLayer: viewLayer
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
    property bool mCompleted: false
    // Zoom steps asked for during a gesture, made when it ends (in, +; out, -).
    property int mPendingZoom: 0

    // What every view gets beside its item; a change is written into every view. The count of
    // resolutions is left out while there has been none (a view's own is 0 then).
    readonly property var mViewProperties: viewProperties(mInEditState, mSceneItemPresenter, mProject, mStelvaneSyncer,
                                                          mImageManager, mInterface, mCloudClient, mScale,
                                                          mImageResolution)

    readonly property real mRectWidth: mScreenWidth / mScale
    readonly property real mRectHeight: mScreenHeight / mScale
    readonly property real mRectX: (mMaxWidth - mScreenWidth) / (2 * mScale)
    readonly property real mRectY: (mMaxHeight - mScreenHeight) / (2 * mScale)

    function viewProperties(inEditState, presenter, project, syncer, images, iface, cloud, scale, resolution) {
        var properties = {
            "mInEditState": inEditState,
            "mSceneItemPresenter": presenter,
            "mProject": project,
            "mStelvaneSyncer": syncer,
            "mImageManager": images,
            "mInterface": iface,
            "mCloudClient": cloud,
            "mWidthDp": 1 / scale,
            "mHeightDp": 1 / scale
        }
        if (resolution > 0)
            properties.mImageResolution = resolution
        return properties
    }
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

    // The delegates that hold a view, in scene order (later on top); each is placed and sized in
    // canvas pixels and its view fills it.
    function viewSlots() {
        var slots = []
        for (var i = 0; i < viewLayer.count; ++i) {
            var slot = viewLayer.itemAt(i)
            if (slot && slot.item)
                slots.push(slot)
        }
        return slots
    }
    // One reset of the model: the views of the scene before go, those of sceneId are made, all
    // while the layer holding them is out of the window.
    function replaceViews(sceneId) {
        itemLayer.parent = null
        itemModel.sceneId = sceneId
        itemLayer.parent = layerHolder
    }
    // Shows the presenter's selected scene.
    function followSelectedScene() {
        if (!mCompleted || !mShown)
            return
        var sceneId = mScenePresenter ? mScenePresenter.getSelectSceneId() : ""
        if (sceneId === mSceneId)
            showScene()
        else
            mSceneId = sceneId
    }
    function showScene() {
        if (!mCompleted || !mShown)
            return
        editLayer.releasePress()
        itemModel.presenter = mSceneItemPresenter
        if (!mSceneItemPresenter || !mScenePresenter || mSceneId === "") {
            mBackgroundImgPath = ""
            replaceViews("")
            editLayer.updateFrame()
            return
        }
        mScreenWidth = sceneSide(mScenePresenter.getPropertyValue(mSceneId, "Width"), 960)
        mScreenHeight = sceneSide(mScenePresenter.getPropertyValue(mSceneId, "Height"), 540)
        var background = mScenePresenter.getPropertyValue(mSceneId, "BackgroundImg")
        mBackgroundImgPath = background === undefined || background === null ? "" : String(background)
        replaceViews(mSceneId)
        centerDisplay()
        editLayer.updateFrame()
    }
    // Shown: shows the selected scene. Not shown: no scene, no views, and nothing followed.
    function followShown() {
        if (!mCompleted)
            return
        if (mShown) {
            followSelectedScene()
            return
        }
        editLayer.releasePress()
        mSceneId = ""
        mBackgroundImgPath = ""
        replaceViews("")
        itemModel.presenter = null
        editLayer.updateFrame()
    }
    function handleWheel(wheel) {
        var delta = wheel.angleDelta.y !== 0 ? wheel.angleDelta.y : wheel.angleDelta.x
        if (wheel.modifiers === Qt.ControlModifier) {
            if (delta !== 0 && editLayer.mGestureUnderway)
                mPendingZoom += delta > 0 ? 1 : -1
            else if (delta !== 0)
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
        return dialog ? dialog : component.createObject(mWindow.contentItem ? mWindow.contentItem : mWindow,
                                                        properties)
    }
    // The zoom steps asked for during the gesture that ended.
    function zoomPending() {
        var steps = mPendingZoom
        mPendingZoom = 0
        for (var i = 0; i < Math.abs(steps); ++i)
            zoomStep(Math.sign(steps))
    }
    function openConnectDialog(title) {
        var text = title === undefined || title === null ? "" : String(title)
        if (mConnectDialogHost) {
            mConnectDialogHost.openConnectDialog(text)
            mConnectDialog = mConnectDialogHost.mIpInputDlg
            return
        }
        mConnectDialog = dialogOf(mConnectDialog, connectDialogComponent, {
                                        "mSetting": mProject.getSetting(),
                                        "mStelvaneSyncer": mStelvaneSyncer,
                                        "mTerminal": mProject.getTerminal()
                                    })
        if (!mConnectDialog)
            return
        mConnectDialog.mTitle = text
        mWindow.calDialogGeometry(mConnectDialog)
        mConnectDialog.open()
    }
    function openJoinProjectDialog() {
        mJoinProjectDialog = dialogOf(mJoinProjectDialog, joinProjectDialogComponent, {
                                          "mProjectw": mProject,
                                          "mMessageBoxManager": mMessageBoxManager,
                                          "mCloudClient": mCloudClient
                                      })
        if (!mJoinProjectDialog)
            return
        mWindow.calDialogGeometry(mJoinProjectDialog)
        mJoinProjectDialog.open()
    }

    clip: true

    onMScenePresenterChanged: followSelectedScene()
    onMSceneItemPresenterChanged: showScene()
    onMSceneIdChanged: showScene()
    onMShownChanged: followShown()
    onMScreenWidthChanged: editLayer.updateFrame()
    onMScreenHeightChanged: editLayer.updateFrame()
    onWidthChanged: centerDisplay()
    onHeightChanged: centerDisplay()
    onVisibleChanged: {
        if (visible)
            centerDisplay()
    }
    Component.onCompleted: {
        mCompleted = true
        followShown()
    }

    Connections {
        target: root.mScenePresenter
        enabled: root.mShown
        function onSceneSelectChanged(sceneId) {
            // the same id again: another scene took the place of the shown one
            if (sceneId === root.mSceneId)
                root.showScene()
            else
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
        enabled: root.mShown && root.visible
        function onActionTrigger(sceneId, itemId, actType, data) {
            if (sceneId !== root.mSceneId)
                return
            if (actType === IRCAction.EActionType_ConnectNetwork)
                root.openConnectDialog(data)
            else if (actType === IRCAction.EActionType_JoinProject)
                root.openJoinProjectDialog()
        }
    }
    Connections {
        target: root.mImageManager
        enabled: root.mShown
        function onResolutionChanged() {
            ++root.mImageResolution
        }
    }
    Connections {
        // the views follow their items through the model's rows, the frame its selection box
        target: itemModel
        function onSelectionBoxChanged() {
            editLayer.updateFrame()
        }
    }
    Connections {
        target: root.mWindow
        enabled: root.mShown
        function onWidthChanged() {
            root.centerDisplay()
        }
        function onHeightChanged() {
            root.centerDisplay()
        }
    }

    // Fed while the panel is shown (showScene hands it the presenter; followShown takes it back).
    RCSceneItemModel {
        id: itemModel
        objectName: "sceneItemModel"
        viewProperties: root.mViewProperties
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

            Item {
                id: layerHolder
                anchors.fill: parent

                // The scene's background and its views. Taken out of the window while the views
                // are replaced (replaceViews): its nodes then go as one subtree under its own
                // opaque one instead of one view after another.
                Rectangle {
                    id: itemLayer
                    objectName: "sceneItemLayer"
                    width: canvas.width
                    height: canvas.height
                    color: "black"

                    RCImage {
                        id: sceneRect
                        objectName: "sceneRect"
                        x: root.mRectX
                        y: root.mRectY
                        width: root.mRectWidth
                        height: root.mRectHeight
                        source: root.mSceneId === "" ? "" : root.mBackgroundImgPath
                        mImageManager: root.mImageManager
                    }
                    RCSceneItemViewLayer {
                        id: viewLayer
                        objectName: "sceneItemViews"
                        width: itemLayer.width
                        height: itemLayer.height
                        model: itemModel
                        // Off while editing, where the edit layer takes every press: the window
                        // then skips the views when it looks for what lies under the pointer,
                        // instead of visiting every item of every view at each press, release and
                        // hover move.
                        enabled: !root.mInEditState
                        origin: Qt.point(root.mRectX, root.mRectY)
                        divisor: root.mScale
                    }
                    // the blue veils over the selected views
                    RCSceneItemVeilLayer {
                        objectName: "sceneItemVeils"
                        views: viewLayer
                    }
                }
            }
            RCSceneEditLayer {
                id: editLayer
                objectName: "sceneEditLayer"
                anchors.fill: parent
                enabled: root.mInEditState
                mPanel: root
                onMGestureUnderwayChanged: {
                    if (!mGestureUnderway)
                        root.zoomPending()
                }
            }
        }
    }
    // With no scene: the hint to add one, whole in the visible area.
    RCImage {
        objectName: "needAddSceneHint"
        anchors.fill: flick
        anchors.margins: 20 * RCUnits.dp
        visible: root.mShown && root.mSceneId === ""
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
