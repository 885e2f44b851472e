import QtQuick
import QtTest
import "qrc:/qml/common"

// The move and resize areas with which the scene canvas moves and resizes items: the dead zone,
// the edges that move, the scene's bounds, the minimum size and the kept ratio.
RCTestMainWindow {
    id: mainWindow

    Item {
        id: scene
        width: 400
        height: 300

        Rectangle {
            id: item
            x: 100
            y: 100
            width: 100
            height: 50
            color: "gray"

            RCMoveArea {
                id: moveArea
                anchors.fill: parent
                mOperatorItem: item
            }
        }
        RCScaleArea {
            id: scaleArea
            width: 10
            height: 10
            mRelativeItem: item
        }
    }
    SignalSpy {
        id: scaleSpy
        target: scaleArea
        signalName: "sig_scale"
    }
    SignalSpy {
        id: moveXSpy
        target: moveArea
        signalName: "moveX"
    }
    SignalSpy {
        id: movePosSpy
        target: moveArea
        signalName: "movePos"
    }

    TestCase {
        name: "MouseAreas"
        when: windowShown

        // Puts the area on the handle's point of the item and presses it there.
        function pressHandle(type) {
            var hx = type.indexOf("left") === 0 ? 0 : (type.indexOf("right") === 0 ? 1 : 0.5)
            var hy = type.indexOf("Top") > 0 ? 0 : (type.indexOf("Bottom") > 0 ? 1 : 0.5)
            scaleArea.mType = type
            scaleArea.x = item.x + hx * item.width - 5
            scaleArea.y = item.y + hy * item.height - 5
            scaleSpy.clear()
            mousePress(scaleArea, 5, 5)
        }
        function lastGeometry() {
            verify(scaleSpy.count > 0, "sig_scale was emitted")
            var args = scaleSpy.signalArguments[scaleSpy.count - 1]
            return [args[0].x, args[0].y, args[1].width, args[1].height]
        }

        function test_move_dead_zone() {
            moveXSpy.clear()
            movePosSpy.clear()
            mousePress(moveArea, 10, 10)
            mouseMove(moveArea, 12, 11, -1, Qt.LeftButton)
            compare(movePosSpy.count, 0, "under 3 pixels nothing moves")
            mouseMove(moveArea, 20, 11, -1, Qt.LeftButton)
            compare(moveXSpy.signalArguments[0][0], 110)
            compare(movePosSpy.signalArguments[0][0], Qt.point(110, 100))
            mouseMove(moveArea, 20, 30, -1, Qt.LeftButton)
            compare(movePosSpy.signalArguments[1][0], Qt.point(110, 120))
            mouseRelease(moveArea, 20, 30)
        }

        function test_scale_data() {
            return [
                {tag: "right edge of the scene", type: "rightBottom", dx: 350, dy: 0, geometry: [100, 100, 300, 50]},
                {tag: "minimum width", type: "leftTop", dx: 150, dy: 0, geometry: [176, 100, 24, 50]},
                {tag: "left edge of the scene", type: "leftTop", dx: -150, dy: 0, geometry: [0, 100, 200, 50]},
                {tag: "middle ignores the other axis", type: "middleTop", dx: 30, dy: -20, geometry: [100, 80, 100, 70]},
                {tag: "bottom edge of the scene", type: "leftBottom", dx: -10, dy: 400, geometry: [90, 100, 110, 200]},
                {tag: "minimum height", type: "middleBottom", dx: 0, dy: -45, geometry: [100, 100, 100, 24]}
            ]
        }
        function test_scale(data) {
            pressHandle(data.type)
            mouseMove(scaleArea, 5 + data.dx, 5 + data.dy, -1, Qt.LeftButton)
            compare(lastGeometry(), data.geometry)
            mouseRelease(scaleArea, 5 + data.dx, 5 + data.dy)
        }

        function test_scale_dead_zone() {
            pressHandle("rightBottom")
            mouseMove(scaleArea, 7, 7, -1, Qt.LeftButton)
            compare(scaleSpy.count, 0)
            mouseRelease(scaleArea, 7, 7)
        }

        // With Shift: the pointer's path after a real press, through the area's own step.
        function test_scaleKeepsRatio_data() {
            return [
                {tag: "wider", type: "rightBottom", dx: 50, dy: 10, geometry: [100, 100, 150, 75]},
                {tag: "limited by the moving right edge", type: "rightBottom", dx: 10, dy: 200, geometry: [100, 100, 300, 150]},
                {tag: "minimum after the tie", type: "leftTop", dx: 200, dy: 0, geometry: [152, 126, 48, 24]},
                {tag: "middle top grows to the right", type: "middleTop", dx: 0, dy: -100, geometry: [100, 0, 300, 150]},
                {tag: "left middle grows down", type: "leftMiddle", dx: -60, dy: 0, geometry: [40, 100, 160, 80]},
                {tag: "right top led by y", type: "rightTop", dx: 20, dy: -60, geometry: [100, 40, 220, 110]}
            ]
        }
        function test_scaleKeepsRatio(data) {
            pressHandle(data.type)
            var start = scaleArea.mPressPos
            scaleArea.moveTo(Qt.point(start.x + data.dx, start.y + data.dy), true)
            var g = lastGeometry()
            compare(g, data.geometry)
            verify(Math.abs(g[3] - g[2] * item.height / item.width) <= 1, "height to width kept within 1 px")
            mouseRelease(scaleArea, 5, 5)
        }
    }
}
