pragma ComponentBehavior: Bound

import QtQuick
import Rc.IRCAction 1.0
import Rc.IRCProject 1.0
import "../common"
import "RCSceneItemShow.js" as Show

// The base of the tappable scene item views: the icon filling the view, the caption centred under
// it (elided to the view's width), in edit mode a blue veil while the item is selected (drawn by
// the canvas, RCSceneItemVeilLayer, which also logs the selection changes), and in control mode
// the tap. What few buttons show (the transparency check) is made only when needed. A tap
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
    property real mPressedDis: 5 * RCUnits.dp
    property bool mClickAreaCheck: false
    property bool mEnableClick: true
    property color mTextColor: "white"
    property real mTextSize: 12
    property bool mTextBold: false
    property string mIconKey: "IconPath"
    // The icon, which a press shifts and grows; the caption follows it.
    readonly property alias mContainer: icon
    // Whether the icon shown may come from the pixmap cache: the program's own icons are shared
    // between views; a project's images are read afresh, as the designer may replace them. Set
    // before mIconPath, so that each icon is loaded once, the way it is to be kept.
    property bool mIconCached: false
    // mIconPath as the icon loads it (a project's image reference resolved by the image manager).
    property string mIconUrl: ""
    // The canvas that reads the icon's transparency (RCSceneItemClickCheck), there while
    // "ClickAreaCheck" is on and there is an icon.
    property Item mClickCheck: null
    readonly property bool mClickCheckWanted: mClickAreaCheck && mIconPath !== ""
    // The canvas veils the button while it is selected in edit mode.
    readonly property bool mSelectVeil: true

    signal sig_itemClicked
    signal sig_itemPressed
    signal sig_itemReleased
    signal sig_itemExit

    onSig_sceneItemPropertyChanged: (sProName, value) => {
        switch (sProName) {
        case mIconKey:
            Show.readIcon(root)
            break
        case "Name":
        case "ClickAreaCheck":
        case "EnableClick":
        case "TextColor":
        case "TextSize":
        case "TextBold":
            Show.readButton(root)
            break
        case "Pressed":
            // a command button's command, from the control-mode panel in control mode only
            if (!mInEditState && mProject && mProject.getAppModel() === IRCProject.EAppModel_Control
                    && readText("CmdType", "") !== "")
                triggerAction(IRCAction.EActionType_SendCmd, "")
            break
        }
    }
    onMIconKeyChanged: Show.readIcon(root)
    onMZoomInChanged: {
        var shift = mZoomIn && !mInEditState ? mPressedDis : 0
        mContainer.anchors.leftMargin = -shift
        mContainer.anchors.topMargin = shift
        mContainer.anchors.bottomMargin = -2 * shift
    }
    onMInEditStateChanged: mZoomIn = false
    onMClickCheckWantedChanged: {
        if (mClickCheck)
            mClickCheck.destroy()
        mClickCheck = mClickCheckWanted
                ? RCViewParts.clickCheck.createObject(root, {"mButton": root}) : null
    }

    Image {
        id: icon
        objectName: "buttonIcon"
        anchors.fill: parent
        source: root.mIconUrl
        cache: root.mIconCached
        mipmap: true
    }

    Text {
        objectName: "buttonCaption"
        // in the interface's font like RCText, as a plain Text: one composite object less per
        // view. Under the icon, so that the press effect moves both; no wider than the icon.
        // Placed without anchors: no anchor object per view.
        x: icon.x
        y: icon.y + icon.height + 5 * RCUnits.dp
        width: icon.width
        horizontalAlignment: Text.AlignHCenter
        elide: Text.ElideRight
        text: root.mName
        color: root.mTextColor
        font.family: "微软雅黑"
        font.pixelSize: Math.max(1, root.mTextSize * root.mHeightDp)
        font.bold: root.mTextBold
    }
    MouseArea {
        id: input
        objectName: "buttonInput"
        anchors.fill: parent
        enabled: !root.mInEditState
        // out of the scene graph while it takes no input
        visible: enabled

        onPressed: mouse => {
            if (!Show.acceptsPoint(root.mClickCheck, mouse.x, mouse.y)) {
                mouse.accepted = false
                return
            }
            if (!root.mEnableClick)
                return
            root.sig_itemPressed()
            root.mZoomIn = true
        }
        onReleased: mouse => {
            var wasZoomed = root.mZoomIn
            root.mZoomIn = false
            if (wasZoomed && Show.acceptsPoint(root.mClickCheck, mouse.x, mouse.y))
                root.sig_itemReleased()
        }
        onContainsMouseChanged: {
            if (pressed && !containsMouse && root.mZoomIn) {
                root.sig_itemExit()
                root.mZoomIn = false
            }
        }
        onCanceled: root.mZoomIn = false
        onClicked: mouse => {
            if (!root.mEnableClick || !Show.acceptsPoint(root.mClickCheck, mouse.x, mouse.y))
                return
            root.triggerAction(IRCAction.EActionType_PlayClickSound, "")
            root.sig_itemClicked()
        }
    }
}
