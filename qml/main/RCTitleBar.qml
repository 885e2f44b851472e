pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Window
import "../common"
import Rc.CursorPosProvider 1.0

// The frameless window's own title bar: icon, title and the open packet's path at the left;
// minimise, maximise/restore and close at the right. Dragging with the left button moves the
// window, a double click maximises or restores it.
Rectangle {
    id: root

    // The window the bar moves, sizes and closes, and the packet path it shows; given by the window.
    required property Window mWindow
    required property string mProjectPath
    // The cursor position provider (cursorPos() in screen coordinates).
    required property CursorPosProvider mCursorPosition
    // Where in the bar the drag started.
    property point mPressPos: Qt.point(0, 0)
    readonly property bool mMaximized: root.mWindow.visibility === Window.Maximized

    height: 44 * RCUnits.dp
    color: "#2B2B2E"

    function toggleMaximized() {
        if (mMaximized)
            root.mWindow.showNormal()
        else
            root.mWindow.showMaximized()
    }

    MouseArea {
        anchors.fill: parent
        onPressed: mouse => root.mPressPos = Qt.point(mouse.x, mouse.y)
        onPositionChanged: mouse => {
            var cursor = root.mCursorPosition.cursorPos()
            root.mWindow.x = cursor.x - root.mPressPos.x
            root.mWindow.y = cursor.y - root.mPressPos.y
        }
        onDoubleClicked: root.toggleMaximized()
    }
    Image {
        x: 20 * RCUnits.dp
        y: 4 * RCUnits.dp
        width: 37 * RCUnits.dp
        height: 37 * RCUnits.dp
        source: "qrc:/windowIcon.png"
        mipmap: true
    }
    RCText {
        id: titleText
        objectName: "windowTitle"
        x: 63 * RCUnits.dp
        anchors.verticalCenter: parent.verticalCenter
        text: root.mWindow.title
        color: "white"
        font.pixelSize: 18 * RCUnits.dp
    }
    RCText {
        objectName: "projectPath"
        anchors.left: titleText.right
        anchors.leftMargin: 6 * RCUnits.dp
        anchors.right: buttons.left
        anchors.rightMargin: 6 * RCUnits.dp
        anchors.verticalCenter: parent.verticalCenter
        text: root.mProjectPath
        color: "#2bcd00"
        font.pixelSize: 18 * RCUnits.dp
        elide: Text.ElideMiddle
    }
    Row {
        id: buttons
        anchors.right: parent.right
        height: parent.height

        TitleButton {
            objectName: "titleButton_minimize"
            mImage: "qrc:/windowMin.png"
            onClicked: root.mWindow.showMinimized()
        }
        TitleButton {
            objectName: "titleButton_maximize"
            mImage: root.mMaximized ? "qrc:/windowMax.png" : "qrc:/windowNormal.png"
            onClicked: root.toggleMaximized()
        }
        TitleButton {
            objectName: "titleButton_close"
            mImage: "qrc:/windowClose.png"
            mPressedImage: "qrc:/windowClosePress.png"
            onClicked: root.mWindow.close()
        }
    }

    // A square button of the bar, as high as the bar: its picture, another one while hovered or
    // pressed.
    component TitleButton: Image {
        id: button

        property url mImage
        property url mPressedImage: mImage

        signal clicked

        width: height
        height: parent.height
        source: area.containsMouse || area.pressed ? button.mPressedImage : button.mImage
        mipmap: true

        MouseArea {
            id: area
            anchors.fill: parent
            hoverEnabled: true
            onClicked: button.clicked()
        }
    }
}
