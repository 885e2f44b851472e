import QtQuick
import QtQuick.Controls.Basic
import "../common"

// The share of the script and track-list rows: 120 high, the name as a bar over the whole width
// followed by an icon button, and below it a white, scrolling multi-line editor whose every edit
// by the user writes the whole text.
RCPropertyRowBase {
    id: root

    property string mIconSource: ""
    property string mIconPressedSource: mIconSource

    signal iconClicked

    height: 120 * RCUnits.dp
    mStacked: true

    onValueLoaded: value => {
        var text = value === undefined || value === null ? "" : String(value)
        if (editor.text !== text) {
            editor.mFilling = true
            editor.text = text
            editor.mFilling = false
        }
    }

    RCImage {
        objectName: "iconButton"
        parent: root.mNameCell
        x: root.mNameText.x + root.mNameText.width + 5 * RCUnits.dp
        width: height
        height: root.mNameText.height
        anchors.verticalCenter: parent.verticalCenter
        fillMode: Image.PreserveAspectFit
        source: iconArea.pressed ? root.mIconPressedSource : root.mIconSource

        MouseArea {
            id: iconArea
            anchors.fill: parent
            anchors.margins: -4 * RCUnits.dp
            onClicked: root.iconClicked()
        }
    }
    ScrollView {
        x: 10 * RCUnits.dp
        width: parent.width - 20 * RCUnits.dp
        height: parent.height
        clip: true

        TextArea {
            id: editor
            objectName: "editor"

            // Set while the row puts a model value in, so that it is not written back.
            property bool mFilling: false

            width: parent.width
            color: "black"
            font.family: "微软雅黑"
            font.pixelSize: 12 * RCUnits.dp
            font.bold: true
            wrapMode: TextEdit.Wrap
            selectByMouse: true
            background: Rectangle {
                color: "white"
            }
            onTextChanged: {
                if (!mFilling)
                    root.writeValue(text)
            }
        }
    }
}
