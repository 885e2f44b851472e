import QtQuick
import QtQuick.Controls.Basic
import "../common"

// The frame of the form dialogs (save, join, download): a modal box on the main window,
// 390 x 175, centred on its parent (the main window's content), closed only by its own buttons
// or the header's cross. The
// dialog's rows and buttons go into the area below the header.
Popup {
    id: root

    property string mTitle: ""
    default property alias mBody: body.data

    // The header's cross was pressed (the popup is closed already).
    signal sig_headerClosed

    width: 390 * RCUnits.dp
    height: 175 * RCUnits.dp
    modal: true
    closePolicy: Popup.NoAutoClose
    padding: 0
    anchors.centerIn: parent


    background: Rectangle {
        color: "#2c2c2c"
        radius: 10 * RCUnits.dp
        border.width: 1
        border.color: "#707070"
    }
    contentItem: Item {
        RCDialogHeader {
            id: header
            objectName: "formHeader"
            x: 1
            y: 1
            width: parent.width - 2
            radius: 9 * RCUnits.dp
            mTitleText: root.mTitle
            onCloseClicked: {
                root.close()
                root.sig_headerClosed()
            }
        }
        Item {
            id: body
            anchors.top: header.bottom
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.bottom: parent.bottom
        }
    }
}
