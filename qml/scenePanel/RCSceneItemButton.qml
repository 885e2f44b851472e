import QtQuick
import Rc.IRCAction 1.0
import Rc.IRCProject 1.0
import "../common"

// The base of the tappable scene item views: the icon filling the view, the caption centred under
// it, in edit mode a blue veil while the item is selected, and in control mode the tap. A tap
// plays the click sound (an action) and then emits sig_itemClicked, to which each button view
// answers; while pressed the content is shifted and grown by mPressedDis. With "EnableClick"
// false the button neither zooms nor clicks. With "ClickAreaCheck" the icon's fully transparent
// pixels take no press: the press goes to whatever lies below.
//
// Which icon shows is the value of the item property named mIconKey ("IconPath" unless a view
// binds it to its state), read again whenever mIconKey or that property changes.
//
// A change of the item's "Pressed" property (whatever its value, as other panels and scripts
// press a command button) sends the item's command once: only a command button (a non-empty
// "CmdType") does, only in the control-mode panel and only while the application is in control
// mode.
RCSceneItem {
    id: root

    property string mIconPath: ""
    property string mName: ""
    property bool mZoomIn: false
    property real mPressedDis: 5 * dp
    property bool mClickAreaCheck: false
    property bool mEnableClick: true
    property color mTextColor: "white"
    property real mTextSize: 12
    property bool mTextBold: false
    property string mIconKey: "IconPath"
    // Whether the icon shown may come from the pixmap cache: the program's own icons are shared
    // between views; a project's images are read afresh, as the designer may replace them. Set
    // before mIconPath, so that each icon is loaded once, the way it is to be kept.
    property bool mIconCached: false

    signal sig_itemClicked
    signal sig_itemPressed
    signal sig_itemReleased
    signal sig_itemExit

    function readButton() {
        readIcon()
        mName = readText("Name", "")
        mClickAreaCheck = Boolean(readProperty("ClickAreaCheck", false))
        mEnableClick = Boolean(readProperty("EnableClick", true))
        mTextColor = colorOf(readProperty("TextColor", "white"))
        mTextSize = sizeOf(readProperty("TextSize", 12))
        mTextBold = Boolean(readProperty("TextBold", false))
    }
    function readIcon() {
        var path = mIconKey === "" ? "" : readText(mIconKey, "")
        mIconCached = path.indexOf("qrc:") === 0
        mIconPath = path
    }
    function colorOf(value) {
        var text = value === undefined || value === null ? "" : String(value)
        return text !== "" && Qt.colorEqual(text, text) ? text : "white"
    }
    function sizeOf(value) {
        var size = Number(value)
        return isFinite(size) && size > 0 ? size : 12
    }
    function sendPressedCommand() {
        if (mInEditState || !mProject || mProject.getAppModel() !== IRCProject.EAppModel_Control)
            return
        if (readText("CmdType", "") !== "")
            triggerAction(IRCAction.EActionType_SendCmd, "")
    }
    // Whether a press at (x, y) is the button's: not on a fully transparent pixel of the icon.
    function acceptsPoint(x, y) {
        var canvas = clickCheck.item
        return !canvas || !canvas.mReady || canvas.alphaAt(x, y) > 0
    }
    function setZoom(zoom) {
        if (zoom === mZoomIn)
            return
        mZoomIn = zoom
    }

    onSig_sceneItemChanged: readButton()
    onSig_sceneItemPropertyChanged: (sProName, value) => {
        switch (sProName) {
        case mIconKey:
            readIcon()
            break
        case "Name":
        case "ClickAreaCheck":
        case "EnableClick":
        case "TextColor":
        case "TextSize":
        case "TextBold":
            readButton()
            break
        case "Pressed":
            sendPressedCommand()
            break
        }
    }
    onMIconKeyChanged: readIcon()
    onMZoomInChanged: {
        var shift = mZoomIn && !mInEditState ? mPressedDis : 0
        mContainer.anchors.leftMargin = -shift
        mContainer.anchors.topMargin = shift
        mContainer.anchors.bottomMargin = -2 * shift
    }
    onMInEditStateChanged: setZoom(false)
    onMSelectChanged: {
        if (mInEditState)
            console.log("item select changed:", readText("Name", ""), "selected:", mSelect)
    }

    mContentItem: RCImage {
        objectName: "buttonIcon"
        source: root.mIconPath
        cache: root.mIconCached
        mImageManager: root.mImageManager
    }

    RCText {
        objectName: "buttonCaption"
        // under the icon, so that the press effect moves both
        anchors.top: root.mContainer.bottom
        anchors.topMargin: 5 * dp
        anchors.horizontalCenter: root.mContainer.horizontalCenter
        text: root.mName
        color: root.mTextColor
        font.pixelSize: Math.max(1, root.mTextSize * root.mHeightDp)
        font.bold: root.mTextBold
    }
    Rectangle {
        objectName: "selectOverlay"
        anchors.fill: parent
        color: "blue"
        opacity: 0.3
        visible: root.mInEditState && root.mSelect
    }
    // The icon as drawn at the view's size, read for the transparency of a pressed pixel.
    Loader {
        id: clickCheck
        objectName: "clickAreaCheck"
        anchors.fill: parent
        active: root.mClickAreaCheck && root.mIconPath !== ""
        sourceComponent: Canvas {
            property string mImageUrl: getImageManager.pathTransformation(root.mIconPath)
            // Set once the icon is drawn at the current size.
            property bool mReady: false

            // An image already in the pixmap cache loads at once, without imageLoaded.
            function load() {
                mReady = false
                if (!isImageLoaded(mImageUrl))
                    loadImage(mImageUrl)
                if (isImageLoaded(mImageUrl))
                    requestPaint()
            }
            function alphaAt(x, y) {
                if (x < 0 || y < 0 || x >= width || y >= height)
                    return 0
                return getContext("2d").getImageData(Math.floor(x), Math.floor(y), 1, 1).data[3]
            }

            opacity: 0
            onMImageUrlChanged: load()
            onImageLoaded: requestPaint()
            onWidthChanged: load()
            onHeightChanged: load()
            onPaint: {
                var context = getContext("2d")
                context.clearRect(0, 0, width, height)
                if (!isImageLoaded(mImageUrl))
                    return
                context.drawImage(mImageUrl, 0, 0, width, height)
                mReady = true
            }
            Component.onCompleted: load()
        }
    }
    MouseArea {
        id: input
        objectName: "buttonInput"
        anchors.fill: parent
        enabled: !root.mInEditState
        visible: enabled

        onPressed: mouse => {
            if (!root.acceptsPoint(mouse.x, mouse.y)) {
                mouse.accepted = false
                return
            }
            if (!root.mEnableClick)
                return
            root.sig_itemPressed()
            root.setZoom(true)
        }
        onReleased: mouse => {
            var wasZoomed = root.mZoomIn
            root.setZoom(false)
            if (wasZoomed && root.acceptsPoint(mouse.x, mouse.y))
                root.sig_itemReleased()
        }
        onContainsMouseChanged: {
            if (pressed && !containsMouse && root.mZoomIn) {
                root.sig_itemExit()
                root.setZoom(false)
            }
        }
        onCanceled: root.setZoom(false)
        onClicked: mouse => {
            if (!root.mEnableClick || !root.acceptsPoint(mouse.x, mouse.y))
                return
            root.triggerAction(IRCAction.EActionType_PlayClickSound, "")
            root.sig_itemClicked()
        }
    }
}
