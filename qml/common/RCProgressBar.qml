import QtQuick

// A horizontal progress bar: a rounded, framed background from 3 pixels in, the filled part from
// its left edge in proportion to mValue between mMinValue and mMaxValue, mName at the left and
// the value (a whole number) at the right.
Item {
    id: root

    property real mMinValue: 0
    property real mMaxValue: 100
    property real mValue: 0
    property real mFrameSize: 1
    property color mHandleColor: "blue"
    property string mName: ""
    property color mTextColor: "white"
    property real mTextSize: 12
    property color mBackgroundColor: "gray"
    property real mRadius: 5
    property color mFrameColor: "gray"
    // The filled share, 0 to 1; 0 when the range is empty.
    readonly property real mRate: mMaxValue > mMinValue
                                  ? Math.max(0, Math.min(1, (mValue - mMinValue) / (mMaxValue - mMinValue))) : 0

    Rectangle {
        id: bar
        x: 3 * RCUnits.dp
        width: root.width - x
        height: root.height
        radius: root.mRadius * RCUnits.dp
        color: root.mBackgroundColor
        border.width: root.mFrameSize * RCUnits.dp
        border.color: root.mFrameColor

        Rectangle {
            objectName: "progressFill"
            width: bar.width * root.mRate
            height: bar.height
            radius: bar.radius
            color: root.mHandleColor
        }
    }
    RCText {
        anchors.left: bar.left
        anchors.leftMargin: 3 * RCUnits.dp
        anchors.verticalCenter: parent.verticalCenter
        text: root.mName
        color: root.mTextColor
        font.pixelSize: root.mTextSize * RCUnits.dp
    }
    RCText {
        objectName: "progressValue"
        anchors.right: parent.right
        anchors.rightMargin: 3 * RCUnits.dp
        anchors.verticalCenter: parent.verticalCenter
        text: Math.round(root.mValue)
        color: root.mTextColor
        font.pixelSize: root.mTextSize * RCUnits.dp
    }
}
