import QtQuick
import QtQuick.Controls.Basic

// An image button. While pressed the picture moves left and down by mPressedDis and grows by as
// much, so it seems to come closer; hovering shows mTips as a tool tip.
Item {
    id: root

    property string mImageSource: ""
    property real mPressedDis: 3 * RCUnits.dp
    // True while the picture is zoomed in (pressed).
    property bool mZoomIn: false
    property string mTips: ""
    property bool mTipsVisible: mouseArea.containsMouse && mTips !== ""

    opacity: enabled ? 1 : 0.35
    ToolTip.visible: mTipsVisible
    ToolTip.text: mTips
    ToolTip.delay: 500

    signal clicked
    signal pressed
    signal released

    RCImage {
        objectName: "buttonImage"
        x: root.mZoomIn ? -root.mPressedDis : 0
        y: root.mZoomIn ? root.mPressedDis : 0
        width: root.width + (root.mZoomIn ? root.mPressedDis : 0)
        height: root.height + (root.mZoomIn ? root.mPressedDis : 0)
        source: root.mImageSource
    }

    MouseArea {
        id: mouseArea
        anchors.fill: parent
        hoverEnabled: true
        onPressed: {
            root.mZoomIn = true
            root.pressed()
        }
        onReleased: {
            root.mZoomIn = false
            root.released()
        }
        onCanceled: root.mZoomIn = false
        onClicked: root.clicked()
    }
}
