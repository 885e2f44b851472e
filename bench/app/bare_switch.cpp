// The bare twin of a scene switch as a user makes it: a bare Qt Quick window as large as the main
// window, frameless, showing 300 plain tiles (icon, caption, mouse area, as the in-process twin of
// bench_sessions makes them) where the main window shows a scene of the switch benchmark, and a strip of two
// scene tiles where the main window has its scene list. A click on either scene tile logs "bare switch" and
// replaces the 300 tiles by 300 new ones. It runs until it is ended, like the program; bench_switch_xvfb.sh
// times both.
//     bare_switch ICON_FILE

#include "BareIconWindow.h"

int main(int argc, char* argv[])
{
    return runBareIconWindow(argc, argv, R"(
        import QtQuick
        Window { id: win; width: 1024; height: 768; visible: true; title: "Bare Switch"; color: "black"
            flags: Qt.Window | Qt.FramelessWindowHint
            Component { id: tile
                Item { width: 30; height: 20
                    Image { anchors.fill: parent; source: iconUrl }
                    Text { anchors.top: parent.bottom; text: "停止所有节目"; color: "white" }
                    MouseArea { anchors.fill: parent } } }
            function step() {
                for (var c = layer.children.length - 1; c >= 0; --c) {
                    var old = layer.children[c]; old.parent = null; old.destroy() }
                for (var i = 0; i < 300; ++i)
                    tile.createObject(layer, {"x": 34 * (i % 20), "y": 36 * Math.floor(i / 20)})
            }
            Row { y: 85
                Repeater { model: ["A", "B"]
                    Rectangle { width: 256; height: 110; color: "#333333"
                        Text { anchors.centerIn: parent; text: modelData; color: "#ff5722"; font.pixelSize: 24 }
                        MouseArea { anchors.fill: parent
                            onClicked: { console.log("bare switch"); win.step() } } } } }
            Item { id: layer; y: 200; width: 710; height: 560; clip: true }
            Component.onCompleted: step() }
    )");
}
