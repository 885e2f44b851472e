import QtQuick
import Qt5Compat.GraphicalEffects
import "../common"

// One tile of the project manager: the rounded thumbnail above the name, blue while marked. The
// grid shows the name as a tool tip while the pointer is on the tile.
Rectangle {
    id: root

    property string mName: ""
    property string mThumbnailPath: ""
    property bool mSelect: false

    width: 187 * dp
    height: 123 * dp
    radius: 8 * dp
    color: mSelect ? "#1E90FF" : "#696969"

    Image {
        id: thumbnail
        objectName: "thumbnail"
        x: 2 * dp
        y: 2 * dp
        width: parent.width - 4 * dp
        height: parent.height - 27 * dp - 2 * dp
        source: root.mThumbnailPath
        cache: false
        asynchronous: true
        fillMode: Image.PreserveAspectCrop
        visible: false
    }
    Rectangle {
        id: mask
        anchors.fill: thumbnail
        radius: root.radius - 2 * dp
        visible: false
    }
    OpacityMask {
        anchors.fill: thumbnail
        source: thumbnail
        maskSource: mask
    }
    RCText {
        objectName: "tileName"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        height: 27 * dp
        leftPadding: 4 * dp
        rightPadding: 4 * dp
        text: root.mName
        color: "white"
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideMiddle
    }
}
