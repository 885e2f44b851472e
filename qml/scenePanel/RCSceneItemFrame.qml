import QtQuick
import "../common"

// The frame that the list and manager views draw around their content: a fill, a border of
// mFrameSize (scene units) in mFrameColor, and either a title band of mTitleHeight at the top
// holding the name 11 dp from the left (mCaptionAbove false), or the name as a caption standing
// 5 units above the view (mCaptionAbove true); either is elided to the view's width. Children go into the content area, which lies below
// the band, inset by mFrameSize + mFrameMargin and filled with mContentColor. Sizes in scene units
// are scaled by the view's factors.
Item {
    id: root

    // The scene item view that holds the frame (for mWidthDp and mHeightDp).
    property var mView: parent
    property color mBackgroundColor: "transparent"
    property color mContentColor: "transparent"
    property real mFrameSize: 0
    property color mFrameColor: "gray"
    property real mFrameRadius: 0
    property real mFrameMargin: 0
    property real mTitleHeight: 0
    property color mTitleColor: "transparent"
    property bool mCaptionAbove: false
    property string mName: ""
    property color mTextColor: "white"
    property real mTextSize: 12
    property bool mTextBold: true
    readonly property real mScale: mView ? mView.mHeightDp : 1
    readonly property alias mContentArea: contentArea
    default property alias mContent: contentArea.data

    anchors.fill: parent

    Rectangle {
        objectName: "frameBorder"
        anchors.fill: parent
        color: root.mBackgroundColor
        radius: root.mFrameRadius
        border.width: Math.max(0, root.mFrameSize * root.mScale)
        border.color: root.mFrameColor
    }
    Rectangle {
        id: titleBand
        objectName: "frameTitleBand"
        x: Math.max(0, root.mFrameSize * root.mScale)
        y: x
        width: parent.width - 2 * x
        height: root.mCaptionAbove ? 0 : Math.max(0, root.mTitleHeight * root.mScale)
        visible: height > 0
        color: root.mTitleColor

        RCText {
            objectName: "frameTitle"
            anchors.left: parent.left
            anchors.leftMargin: 11 * RCUnits.dp
            anchors.right: parent.right
            anchors.verticalCenter: parent.verticalCenter
            elide: Text.ElideRight
            text: root.mName
            color: root.mTextColor
            font.pixelSize: Math.max(1, root.mTextSize * root.mScale)
            font.bold: root.mTextBold
        }
    }
    RCText {
        objectName: "frameCaption"
        visible: root.mCaptionAbove
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.top
        elide: Text.ElideRight
        anchors.bottomMargin: 5 * root.mScale
        text: root.mName
        color: root.mTextColor
        font.pixelSize: Math.max(1, root.mTextSize * root.mScale)
        font.bold: root.mTextBold
    }
    Rectangle {
        id: contentArea
        objectName: "frameContent"
        readonly property real inset: Math.max(0, (root.mFrameSize + root.mFrameMargin) * root.mScale)

        x: inset
        y: titleBand.height > 0 ? titleBand.y + titleBand.height : inset
        width: Math.max(0, parent.width - 2 * inset)
        height: Math.max(0, parent.height - y - inset)
        color: root.mContentColor
        clip: true
    }
}
