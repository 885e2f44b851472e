// The bare twin of a drag of many selected buttons as a user makes it: a bare Qt Quick window as
// large as the main window, frameless, showing a scene rectangle (700 x 560, in the colour of the
// drag benchmark's scene background) with 200 plain buttons on it where the program shows the
// benchmark's scene: icon and caption, each under a blue veil as a selected view, and the blue
// bordered frame around them all. A press anywhere and a move drag every button, each moved on its
// own, by whole pixels. It runs until it is ended, like the program; bench_drag_xvfb.sh times both.
//     bare_drag ICON_FILE

#include "BareIconWindow.h"

int main(int argc, char* argv[])
{
    return runBareIconWindow(argc, argv, R"(
        import QtQuick
        Window { id: win; width: 1024; height: 768; visible: true; title: "Bare Drag"; color: "black"
            flags: Qt.Window | Qt.FramelessWindowHint
            property int dx: 0
            property int dy: 0
            Rectangle { id: scene; x: 300; y: 200; width: 700; height: 560; color: "#2060a0"
                Repeater { model: 200
                    Item { required property int index
                        x: 28 * (index % 20) + win.dx; y: 28 * Math.floor(index / 20) + win.dy
                        width: 24; height: 16
                        Image { anchors.fill: parent; source: iconUrl }
                        Text { y: parent.height + 2; width: parent.width; text: "停止"; color: "white"
                            horizontalAlignment: Text.AlignHCenter; elide: Text.ElideRight; font.pixelSize: 12 }
                        Rectangle { anchors.fill: parent; color: "blue"; opacity: 0.3 } } }
                Rectangle { x: win.dx; y: win.dy; width: 28 * 19 + 24; height: 28 * 9 + 16
                    color: "transparent"; border.color: "blue"; border.width: 2 } }
            MouseArea { anchors.fill: parent
                property point press
                property int fromX: 0
                property int fromY: 0
                onPressed: mouse => { press = Qt.point(mouse.x, mouse.y); fromX = win.dx; fromY = win.dy }
                onPositionChanged: mouse => {
                    win.dx = fromX + Math.round(mouse.x - press.x)
                    win.dy = fromY + Math.round(mouse.y - press.y) } } }
    )");
}
