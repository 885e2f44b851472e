import QtQuick
import "../common"
import "RCPlayTime.js" as PlayTime

// One progress row of the play-state manager: the layer's name at the left, the play or pause
// icon at the right (pause while playing), and between them the bar: framed, its elapsed part
// filled with a gradient up to the slider icon, the node's name inside it and the time at its
// right, counting down, up or both (mShowTimeType). Colours, sizes and icons are the owning view's
// "PlayStateManager_ProgressBar_" keys. The elapsed share is progress over length, 0 for a length
// of zero or less and at most 1; the times never go below zero.
//
// In control mode a tap on the bar reports progressModify(id, progress) with the progress at that
// point of the bar (the scale the bar is drawn with); a tap on the icon reports stateModify(id,
// state) with the state that the tap asks for (pause when playing, else play).
Item {
    id: root

    property string mId: ""
    property string mLayerName: ""
    property string mNodeName: ""
    property int mState: 0
    property real mLength: 10000
    property real mProgress: 100
    readonly property real mRate: PlayTime.rate(mProgress, 0, mLength)
    readonly property string mElapsedText: PlayTime.text(PlayTime.elapsed(mProgress, mLength))
    readonly property string mRemainingText: "-" + PlayTime.text(PlayTime.remaining(mProgress, mLength))
    // The owning view (an RCSceneItemPlayStateManager).
    property var mView: null

    signal progressModify(string sId, int progress)
    signal stateModify(string sId, int state)

    // The progress at x (bar coordinates), on the scale the bar is drawn with.
    function progressAt(x) {
        return PlayTime.seek(x, bar.width, 0, mLength)
    }

    RCText {
        id: layerName
        objectName: "playStateLayerName"
        anchors.left: parent.left
        anchors.verticalCenter: parent.verticalCenter
        text: root.mLayerName
        color: root.mView.mWindowTextColor
        font.pixelSize: Math.max(1, root.mView.mWindowTextSize * root.mView.mHeightDp)
    }
    RCImage {
        id: stateIcon
        objectName: "playStateIcon"
        anchors.right: parent.right
        anchors.verticalCenter: parent.verticalCenter
        width: parent.height
        height: parent.height
        source: root.mState === 1 ? root.mView.mPauseIconPath : root.mView.mPlayIconPath
        mImageManager: root.mView.mImageManager
        cache: source.indexOf("qrc:") === 0

        MouseArea {
            anchors.fill: parent
            enabled: !root.mView.mInEditState
            onClicked: root.stateModify(root.mId, root.mState === 1 ? 2 : 1)
        }
    }
    Rectangle {
        id: bar
        objectName: "playStateBar"
        anchors.left: layerName.right
        anchors.leftMargin: 11 * RCUnits.dp
        anchors.right: stateIcon.left
        anchors.rightMargin: 10 * RCUnits.dp
        anchors.top: parent.top
        anchors.bottom: parent.bottom
        color: root.mView.mBarColor
        radius: root.mView.mBarRadius
        border.width: Math.max(0, root.mView.mBarFrameSize) * RCUnits.dp
        border.color: root.mView.mBarFrameColor
        clip: true

        Rectangle {
            id: elapsed
            objectName: "playStateElapsed"
            width: bar.width * root.mRate
            height: bar.height
            radius: bar.radius
            opacity: root.mView.mHandleOpacity
            gradient: Gradient {
                orientation: Gradient.Horizontal
                GradientStop {
                    position: 0
                    color: root.mView.mHandleColor
                }
                GradientStop {
                    position: 1
                    color: root.mView.mHandleColorEnd
                }
            }
        }
        RCImage {
            id: slider
            objectName: "playStateSlider"
            x: Math.max(0, elapsed.width - width)
            width: 10 * RCUnits.dp
            height: bar.height
            source: root.mView.mSliderIconPath
            mImageManager: root.mView.mImageManager
            cache: source.indexOf("qrc:") === 0
        }
        RCText {
            id: nodeName
            objectName: "playStateNodeName"
            readonly property real room: timeTexts.x - 6 - 12 * RCUnits.dp

            anchors.left: parent.left
            anchors.leftMargin: 12 * RCUnits.dp
            anchors.verticalCenter: parent.verticalCenter
            width: Math.max(0, Math.min(implicitWidth, room))
            visible: bar.width >= timeTexts.width
            elide: Text.ElideRight
            text: root.mNodeName
            color: root.mView.mNodeTextColor
            font.pixelSize: Math.max(1, root.mView.mNodeTextSize * RCUnits.dp)
        }
        Item {
            id: timeTexts
            objectName: "playStateTimes"
            readonly property real textSize: Math.max(1, root.mView.mTimeTextSize * root.mView.mHeightDp)

            // at the bar's right end; left of the slider icon once the icon reaches them, so that
            // it never covers them
            readonly property real mEndX: bar.width - 3 * RCUnits.dp - timeTexts.width

            x: slider.x + slider.width + 3 * RCUnits.dp > timeTexts.mEndX ? Math.max(0, slider.x - 3 * RCUnits.dp - timeTexts.width)
                                                                  : timeTexts.mEndX
            anchors.top: parent.top
            anchors.bottom: parent.bottom
            width: Math.max(elapsedText.implicitWidth, remainingText.implicitWidth)

            RCText {
                id: elapsedText
                objectName: "playStateElapsedText"
                anchors.right: parent.right
                y: root.mView.mShowTimeType === 2 ? 3 * RCUnits.dp : (parent.height - height) / 2
                visible: root.mView.mShowTimeType === 1 || root.mView.mShowTimeType === 2
                text: root.mElapsedText
                color: root.mView.mTimeTextColor
                font.pixelSize: timeTexts.textSize
            }
            RCText {
                id: remainingText
                objectName: "playStateRemainingText"
                anchors.right: parent.right
                y: root.mView.mShowTimeType === 2 ? parent.height - height - 3 * RCUnits.dp : (parent.height - height) / 2
                visible: root.mView.mShowTimeType !== 1
                text: root.mRemainingText
                color: root.mView.mTimeDownTextColor
                font.pixelSize: timeTexts.textSize
            }
        }
        MouseArea {
            anchors.fill: parent
            enabled: !root.mView.mInEditState
            onClicked: mouse => {
                var progress = root.progressAt(mouse.x)
                if (progress !== null)
                    root.progressModify(root.mId, progress)
            }
        }
    }
}
