import QtQuick
import "../common"

// The base of the text views of the Vexa program that is playing (play time, finish time,
// playing name): a text filling the view on "BackgroundColor", in "TextColor", "TextSize" and
// "TextBold", about the playing program of the kind "ProgramListType" (mTracker). A view sets
// mText and, for a centred text, mCentred.
RCSceneItem {
    id: root

    property string mName: ""
    property real mTextSize: 12
    property color mTextColor: "white"
    property bool mTextBold: true
    property color mBackgroundColor: "transparent"
    property int mKind: 0
    property string mText: ""
    property bool mCentred: false
    readonly property alias mTracker: tracker

    mKeyTable: [
        ["Name", "mName", "", "text"],
        ["TextSize", "mTextSize", 12, "number"],
        ["TextColor", "mTextColor", "white", "color"],
        ["TextBold", "mTextBold", true, "bool"],
        ["BackgroundColor", "mBackgroundColor", "transparent", "color"],
        ["ProgramListType", "mKind", 0, "number"]
    ]

    RCVexaPlayingTracker {
        id: tracker
        mStelvaneSyncer: root.mStelvaneSyncer
        mKind: root.mKind
    }

    mContentItem: Rectangle {
        color: root.mBackgroundColor

        RCText {
            objectName: "vexaText"
            anchors.fill: parent
            horizontalAlignment: root.mCentred ? Text.AlignHCenter : Text.AlignLeft
            verticalAlignment: Text.AlignVCenter
            elide: Text.ElideRight
            text: root.mText
            color: root.mTextColor
            font.pixelSize: Math.max(1, root.mTextSize * (root.mCentred ? root.mHeightDp : root.mWidthDp))
            font.bold: root.mTextBold
        }
    }
}
