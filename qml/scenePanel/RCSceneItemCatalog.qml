pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls.Basic
import "../common"

// A directory of the scenes the item names by type: one row per scene, indented by the scene's
// "IndentLevel" ("IndentSpacing" pixels a level) and written smaller the deeper it lies
// ("IndentInitFont" less "IndentFontSpacing" a level, at least 1 pixel); the shown scene's row is
// filled with "CatalogRowSelectColor". In control mode a tap on a row shows that scene.
RCSceneItemSceneListBase {
    id: root

    property real mIndentInitFont: 24
    property real mIndentSpacing: 10
    property real mIndentFontSpacing: 5
    property color mRowSelectColor: "blue"

    function fontSizeAt(level) {
        return Math.max(1, mIndentInitFont - level * mIndentFontSpacing)
    }

    mKeyTable: mBaseKeyTable.concat([
        ["SceneList_BackgroundColor", "mBackgroundColor", "transparent", "color"],
        ["IndentInitFont", "mIndentInitFont", 24, "number"],
        ["IndentSpacing", "mIndentSpacing", 10, "number"],
        ["IndentFontSpacing", "mIndentFontSpacing", 5, "number"],
        ["CatalogRowSelectColor", "mRowSelectColor", "blue", "color"]
    ])

    ListView {
        objectName: "catalogRows"
        anchors.fill: parent
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        spacing: Math.max(0, root.mNodeSpacing)
        model: root.mScenes
        ScrollBar.vertical: ScrollBar {
            policy: ScrollBar.AsNeeded
        }
        delegate: Rectangle {
            id: row

            required property string sceneId
            required property string sceneName
            required property int indentLevel
            required property bool selected

            objectName: "catalogRow_" + sceneId
            width: Math.max(0, root.mNodeWidth * root.mWidthDp)
            height: Math.max(0, root.mNodeHeight * root.mHeightDp)
            color: selected ? root.mRowSelectColor : "transparent"

            RCText {
                objectName: "catalogRowName"
                anchors.left: parent.left
                anchors.leftMargin: row.indentLevel * root.mIndentSpacing
                anchors.right: parent.right
                anchors.verticalCenter: parent.verticalCenter
                elide: Text.ElideRight
                text: row.sceneName
                color: "white"
                font.pixelSize: root.fontSizeAt(row.indentLevel)
            }
            MouseArea {
                anchors.fill: parent
                enabled: !root.mInEditState
                onClicked: root.selectScene(row.sceneId)
            }
        }
    }
}
