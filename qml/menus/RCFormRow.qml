import QtQuick
import "../common"

// One labelled row of a form dialog: the label (18 pixels, white) and the row's field after it.
Row {
    id: root

    property alias mLabel: label.text

    spacing: 8 * RCUnits.dp

    RCText {
        id: label
        anchors.verticalCenter: parent.verticalCenter
        color: "white"
        font.pixelSize: 18 * RCUnits.dp
    }
}
