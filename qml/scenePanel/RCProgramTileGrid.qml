pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls.Basic

// The grid of program tiles of a tile view (mView, an RCSceneItemProgramTiles): cells of node
// width plus horizontal spacing by node height plus vertical spacing, each holding a tile of the
// node size, flowing left to right. tileClicked(id, state) reports a tap on a tile.
GridView {
    id: root

    property var mView: null

    signal tileClicked(string sId, int state)

    clip: true
    boundsBehavior: Flickable.StopAtBounds
    cellWidth: Math.max(1, (mView.mNodeWidth + mView.mNodeHorSpacing) * mView.mWidthDp)
    cellHeight: Math.max(1, (mView.mNodeHeight + mView.mNodeVerSpacing) * mView.mHeightDp)
    ScrollBar.vertical: ScrollBar {
        policy: ScrollBar.AsNeeded
    }
    delegate: RCProgramItem {
        required property string programId
        required property string programName
        required property int programState
        required property string timeText

        objectName: "programTile_" + programId
        width: Math.max(0, root.mView.mNodeWidth * root.mView.mWidthDp)
        height: Math.max(0, root.mView.mNodeHeight * root.mView.mHeightDp)
        mView: root.mView
        mId: programId
        mName: programName
        mState: programState
        mTimeText: timeText
        onMouseClicked: sId => root.tileClicked(sId, mState)
    }
}
