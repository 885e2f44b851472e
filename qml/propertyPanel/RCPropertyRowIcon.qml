import QtQuick
import Rc.PhotoSelection 1.0
import "../common"

// An image property: a 20 x 20 preview of the value; a click opens the PNG picker, and the picked
// file is written as a "file:" URL; the "×" at the right empties the value.
RCPropertyRowBase {
    id: root

    property string mSource: ""
    property PhotoSelection mPicker: null

    // The file URL of a local path, with every part of it encoded ("#", "?", "%", blanks, ...);
    // a drive letter ("C:") stays as it is.
    function fileUrl(path) {
        var parts = String(path).replace(/\\/g, "/").split("/")
        for (var i = 0; i < parts.length; ++i) {
            if (!/^[A-Za-z]:$/.test(parts[i]))
                parts[i] = encodeURIComponent(parts[i])
        }
        var joined = parts.join("/")
        return "file://" + (joined.startsWith("/") ? "" : "/") + joined
    }
    // The row's picker, made on first use, starting in the open packet's image folder.
    function photoSelection() {
        if (!mPicker)
            mPicker = pickerComponent.createObject(root)
        mPicker.imageFolder = root.mProject ? root.mProject.getProjectImageFolderPath() : ""
        return mPicker
    }

    onValueLoaded: value => mSource = value === undefined || value === null ? "" : String(value)

    Component {
        id: pickerComponent

        PhotoSelection {
            onImageSelected: imagePath => {
                if (imagePath !== "")
                    root.writeValue(root.fileUrl(imagePath))
            }
        }
    }
    RCImage {
        objectName: "preview"
        x: 10 * RCUnits.dp
        width: 20 * RCUnits.dp
        height: 20 * RCUnits.dp
        anchors.verticalCenter: parent.verticalCenter
        fillMode: Image.PreserveAspectFit
        source: root.mSource
        mImageManager: root.mImageManager
    }
    MouseArea {
        objectName: "pickArea"
        anchors.fill: parent
        onClicked: root.photoSelection().show()
    }
    // Clears the picture (one undoable step), also one whose file is gone.
    RCText {
        objectName: "clearButton"
        visible: root.mSource !== ""
        anchors.right: parent.right
        anchors.rightMargin: 10 * RCUnits.dp
        anchors.verticalCenter: parent.verticalCenter
        text: "×"
        color: clearArea.containsMouse ? "white" : "#a0a0a0"

        MouseArea {
            id: clearArea
            anchors.fill: parent
            anchors.margins: -6 * RCUnits.dp
            hoverEnabled: true
            onClicked: root.writeValue("")
        }
    }
}
