import QtQuick
import "../common"

// The status line of a button view, to the right of the view and centred on it, in the caption's
// colour, size and weight.
RCText {
    property var mButton: parent

    anchors.left: parent.right
    anchors.leftMargin: 3 * RCUnits.dp
    anchors.verticalCenter: parent.verticalCenter
    color: mButton.mTextColor
    font.pixelSize: Math.max(1, mButton.mTextSize * mButton.mHeightDp)
    font.bold: mButton.mTextBold
}
