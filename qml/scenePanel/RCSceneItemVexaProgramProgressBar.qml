import QtQuick
import Rc.IRCAction 1.0
import "../common"
import "RCPlayTime.js" as PlayTime

// The progress of the playing Vexa program of the item's kind ("ProgramListType"): a framed bar
// whose played part runs over the program's range ("BeginPos".."EndPos", or 0.."Length" when
// those make none), the handle icon after it and the name at the left, right of the handle's place
// at 0.
//
// Control mode: a press seeks the program to that point of the bar and a drag follows the pointer
// while it stays over the bar, on the same range the bar is drawn with (each new position once);
// releasing a program that was playing at the press asks the server to play it on. Nothing is sent
// while no program of the kind is current, or for a range that is empty.
RCSceneItem {
    id: root

    property string mName: ""
    property real mTextSize: 12
    property color mTextColor: "white"
    property color mBackgroundColor: "transparent"
    property color mHandlerColor: "red"
    property color mFrameColor: "red"
    property string mHandlerIconPath: ""
    property real mHandlerIconWidth: 10
    property real mHandlerIconHeight: 10
    property int mKind: 0
    // The state of the program at the press, and the last position asked for.
    property int mPressState: 0
    property var mSentProgress: null
    readonly property var mRange: PlayTime.vexaRange(tracker.mBeginPos, tracker.mEndPos, tracker.mLength)
    readonly property real mRate: tracker.mHasProgram ? PlayTime.rate(tracker.mProgress, mRange[0], mRange[1]) : 0
    readonly property alias mTracker: tracker

    function progressAt(x) {
        var border = bar.border.width
        return tracker.mHasProgram ? PlayTime.seek(x - border, bar.width - 2 * border, mRange[0], mRange[1]) : null
    }
    function seek(x) {
        var progress = progressAt(x)
        if (progress === null || progress === mSentProgress)
            return
        mSentProgress = progress
        triggerAction(IRCAction.EActionType_VexaSetProgram, {"Progress": progress, "ProgramListType": mKind})
    }
    function release() {
        var playing = mPressState === 1 && mSentProgress !== null && tracker.mHasProgram
        mSentProgress = null
        mPressState = 0
        if (playing)
            triggerAction(IRCAction.EActionType_VexaProgramTryPlay,
                          {"programListId": tracker.mListId, "programId": tracker.mProgramId})
    }

    mKeyTable: [
        ["Name", "mName", "", "text"],
        ["TextSize", "mTextSize", 12, "number"],
        ["TextColor", "mTextColor", "white", "color"],
        ["Slider_BackgroundColor", "mBackgroundColor", "transparent", "color"],
        ["Slider_HandlerColor", "mHandlerColor", "red", "color"],
        ["FrameColor", "mFrameColor", "red", "color"],
        ["Slider_HandlerIconPath", "mHandlerIconPath", "", "text"],
        ["Slider_HandlerIconWidth", "mHandlerIconWidth", 10, "number"],
        ["Slider_HandlerIconHeight", "mHandlerIconHeight", 10, "number"],
        ["ProgramListType", "mKind", 0, "number"]
    ]

    RCVexaPlayingTracker {
        id: tracker
        mStelvaneSyncer: root.mStelvaneSyncer
        mKind: root.mKind
    }

    mContentItem: Rectangle {
        color: root.mBackgroundColor

        Rectangle {
            id: bar
            objectName: "vexaProgressBar"
            x: 3 * RCUnits.dp
            width: Math.max(0, parent.width - x)
            height: parent.height
            color: "transparent"
            border.width: 1 * RCUnits.dp
            border.color: root.mFrameColor

            Rectangle {
                id: played
                objectName: "vexaProgressPlayed"
                x: bar.border.width
                y: bar.border.width
                width: Math.max(0, (bar.width - 2 * bar.border.width) * root.mRate)
                height: Math.max(0, bar.height - 2 * bar.border.width)
                color: root.mHandlerColor
            }
            RCImage {
                id: handle
                objectName: "vexaProgressHandle"
                x: played.x + played.width
                anchors.verticalCenter: parent.verticalCenter
                width: Math.max(0, root.mHandlerIconWidth)
                height: Math.max(0, root.mHandlerIconHeight)
                source: root.mHandlerIconPath
                mImageManager: root.mImageManager
                cache: source.indexOf("qrc:") === 0
            }
            MouseArea {
                objectName: "vexaProgressInput"
                anchors.fill: parent
                enabled: !root.mInEditState
                preventStealing: true
                onPressed: mouse => {
                    root.mPressState = tracker.mState
                    root.mSentProgress = null
                    root.seek(mouse.x)
                }
                onPositionChanged: mouse => {
                    if (mouse.x >= 0 && mouse.x <= bar.width)
                        root.seek(mouse.x)
                }
                onReleased: root.release()
                onCanceled: root.release()
            }
        }
        // Right of where the handle rests at 0, so that the idle bar shows both; elided within the bar.
        RCText {
            objectName: "vexaProgressName"
            anchors.left: bar.left
            anchors.leftMargin: bar.border.width + (handle.source !== "" ? handle.width : 0) + 3 * root.mHeightDp
            anchors.right: bar.right
            anchors.rightMargin: bar.border.width
            anchors.verticalCenter: parent.verticalCenter
            elide: Text.ElideRight
            text: root.mName
            color: root.mTextColor
            font.pixelSize: Math.max(1, root.mTextSize * root.mHeightDp)
        }
    }
}
