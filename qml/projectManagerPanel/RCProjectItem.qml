import QtQuick
import "../common"

// One tile of the project manager: the rounded thumbnail above the name, blue while marked. The
// thumbnail fills its place, cropped, or with mWholeThumbnail shows whole, centred on a dark mat
// (a template's thumbnail is its scene, whose every part counts). The grid shows the name as a
// tool tip while the pointer is on the tile. The grid's model hands in the row's name, thumbnail
// and mark.
Rectangle {
    id: root

    required property string m_name
    required property string m_thumbnailPath
    required property bool m_select
    property bool mWholeThumbnail: false
    // The tile's colour around the thumbnail.
    readonly property real mFrame: 2 * RCUnits.dp

    width: 187 * RCUnits.dp
    height: 123 * RCUnits.dp
    radius: 8 * RCUnits.dp
    color: m_select ? "#1E90FF" : "#696969"

    Rectangle {
        anchors.fill: thumbnail
        visible: root.mWholeThumbnail
        color: "#1A1A1C"
    }
    Image {
        id: thumbnail
        objectName: "thumbnail"
        x: root.mFrame
        y: root.mFrame
        width: parent.width - 2 * root.mFrame
        height: parent.height - 27 * RCUnits.dp - root.mFrame
        source: root.m_thumbnailPath
        cache: false
        asynchronous: true
        fillMode: root.mWholeThumbnail ? Image.PreserveAspectFit : Image.PreserveAspectCrop
    }
    // Rounds the thumbnail's corners with a ring in the tile's colour whose inner edge is the
    // rounded rectangle to show, so that every scene-graph backend draws it (no shader effect).
    Rectangle {
        objectName: "thumbnailCorners"
        anchors.fill: thumbnail
        anchors.margins: -root.mFrame
        radius: root.radius
        color: "transparent"
        border.width: root.mFrame
        border.color: root.color
    }
    RCText {
        objectName: "tileName"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        height: 27 * RCUnits.dp
        leftPadding: 4 * RCUnits.dp
        rightPadding: 4 * RCUnits.dp
        text: root.m_name
        color: "white"
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideMiddle
    }
}
