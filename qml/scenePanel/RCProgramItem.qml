import QtQuick
import Rc.IRCAction 1.0
import "../common"

// A program tile: a frame in the owning view's node frame colour around a box coloured by the
// play state (0 stopped, 1 playing, 2 paused) with the name centred in it and, when mTimeText is
// not empty, that time under the name. Colours, frame, corner radius and text size are the owning
// view's node keys (RCSceneItemProgramTiles). A tap in control mode plays the click sound and
// reports mouseClicked(mId); what the tap asks for is the owning view's business.
Rectangle {
    id: root

    property string mId: ""
    property string mName: ""
    property int mState: 0
    property string mTimeText: ""
    // The owning view (an RCSceneItemProgramTiles).
    property var mView: null
    readonly property color mTextColor: !mView ? "white" : mState === 1 ? mView.mNodeTextPlayColor
                                                         : mState === 2 ? mView.mNodeTextPauseColor
                                                                        : mView.mNodeTextStopColor
    readonly property real mTextPixelSize: Math.max(1, (mView ? mView.mNodeTextSize * mView.mWidthDp : 12) * RCUnits.dp)

    signal mouseClicked(string sId)

    color: mView ? mView.mNodeFrameColor : "gray"
    radius: mView ? mView.mNodeRadius * mView.mHeightDp : 0

    Rectangle {
        objectName: "programTileBox"
        anchors.fill: parent
        anchors.margins: root.mView ? Math.max(0, root.mView.mNodeFrameSize) * RCUnits.dp : 0
        radius: root.radius
        color: !root.mView ? "red" : root.mState === 1 ? root.mView.mNodePlayColor
                                   : root.mState === 2 ? root.mView.mNodePauseColor : root.mView.mNodeStopColor
    }
    RCText {
        objectName: "programTileName"
        anchors.centerIn: parent
        width: parent.width - 4 * RCUnits.dp
        horizontalAlignment: Text.AlignHCenter
        elide: Text.ElideRight
        text: root.mName
        color: root.mTextColor
        font.pixelSize: root.mTextPixelSize
    }
    RCText {
        objectName: "programTileTime"
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 1 * RCUnits.dp
        visible: root.mTimeText !== ""
        text: root.mTimeText
        color: root.mTextColor
        font.pixelSize: root.mTextPixelSize
    }
    MouseArea {
        anchors.fill: parent
        enabled: root.mView !== null && !root.mView.mInEditState
        onClicked: {
            if (root.mView.mSceneItemPresenter)
                root.mView.mSceneItemPresenter.triggerAction("", "", IRCAction.EActionType_PlayClickSound, "")
            root.mouseClicked(root.mId)
        }
    }
}
