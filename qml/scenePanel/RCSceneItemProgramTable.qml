pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls.Basic
import Rc.IRCAction 1.0
import Rc.QmlComponents 1.0
import "../common"

// The media server's program table: programs as columns, layers as rows, nodes in the cells (a
// node spanning several programs fills a cell in each of their columns). The model follows the
// mirror itself and holds ids only (ProgramTableModel: column headers program ids, row headers
// layer ids, cells node ids): it is filled in one step when it gets the mirror and on every
// programTableUpdate, and follows the mirror's single changes in between. The delegates read
// names, states and thumbnails from the mirror, and read again after every fill and when the
// model sets their id to "" and back.
//
// Taps (control mode; each plays the click sound first): the stop box stops all programs, a
// column header plays or pauses that program, a node cell starts a node that is not playing and
// pauses one that is. An empty cell takes no tap.
RCSceneItem {
    id: root

    property real mMargin: 1 * RCUnits.dp
    property real mRowHeight: 66 * RCUnits.dp
    property real mRowHeaderWidth: 84 * RCUnits.dp
    property real mColumnHeaderHeight: 44 * RCUnits.dp
    property real mCellTextWidth: 90 * RCUnits.dp
    property real mCellBoxWidth: 62 * RCUnits.dp
    property real mCellBoxHeight: 30 * RCUnits.dp
    property string mName: ""
    property color mTextColor: "white"
    property real mTextSize: 12
    property bool mTextBold: true
    readonly property alias mModel: tableModel

    function execAction(type, data) {
        triggerAction(IRCAction.EActionType_PlayClickSound, "")
        var project = mProject
        if (project)
            project.getActionManager().execAction("", "", type, data)
    }
    function tapNode(nodeId) {
        if (nodeId === "" || !mStelvaneSyncer)
            return
        var state = mStelvaneSyncer.getProgramNodeState(nodeId)
        execAction(IRCAction.EActionType_SetProgramNode, {"Id": nodeId, "State": state !== 1 ? 1 : 2})
    }
    function textOf(value) {
        return value === undefined || value === null ? "" : String(value)
    }

    mKeyTable: [
        ["Name", "mName", "", "text"],
        ["TextColor", "mTextColor", "white", "color"],
        ["TextSize", "mTextSize", 12, "number"],
        ["TextBold", "mTextBold", true, "bool"]
    ]

    ProgramTableModel {
        id: tableModel
        mStelvaneSyncer: root.mStelvaneSyncer
    }

    mContentItem: Rectangle {
        color: "#191919"

        RCText {
            objectName: "tableCaption"
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.bottom: parent.top
            elide: Text.ElideRight
            anchors.bottomMargin: 5 * RCUnits.dp
            text: root.mName
            color: root.mTextColor
            font.pixelSize: Math.max(1, root.mTextSize * root.mHeightDp)
            font.bold: root.mTextBold
        }
        Rectangle {
            id: stopBox
            objectName: "tableStopBox"
            width: root.mRowHeaderWidth
            height: root.mColumnHeaderHeight
            color: "#403E3F"
            border.color: "#707070"
            border.width: 1 * RCUnits.dp

            RCImage {
                anchors.centerIn: parent
                width: 40 * RCUnits.dp
                height: 22 * RCUnits.dp
                source: "qrc:/stop.png"
                cache: true
            }
            MouseArea {
                anchors.fill: parent
                enabled: !root.mInEditState
                onClicked: root.execAction(IRCAction.EActionType_StopAllProgram, "")
            }
        }
        HorizontalHeaderView {
            id: columnHeaders
            objectName: "tableColumnHeaders"
            anchors.left: stopBox.right
            anchors.right: parent.right
            anchors.top: parent.top
            height: root.mColumnHeaderHeight
            syncView: table
            clip: true
            delegate: Rectangle {
                id: columnHeader

                required property var display
                readonly property string programId: root.textOf(display)
                // Each reading of the mirror also follows the model's fills, which may keep the id.
                readonly property int programState: root.mModel.mFillCount >= 0 && programId !== ""
                                                    && root.mStelvaneSyncer
                                                    ? root.mStelvaneSyncer.getProgramState(programId) : 0

                objectName: "columnHeader_" + programId
                implicitWidth: root.mRowHeaderWidth
                implicitHeight: root.mColumnHeaderHeight
                color: "#403e3f"

                Rectangle {
                    anchors.left: parent.left
                    anchors.right: parent.right
                    anchors.bottom: parent.bottom
                    height: 1
                    color: "#707070"
                }
                Rectangle {
                    objectName: "columnHeaderBox"
                    anchors.right: parent.right
                    anchors.rightMargin: 11 * RCUnits.dp
                    anchors.verticalCenter: parent.verticalCenter
                    width: root.mCellBoxWidth
                    height: root.mCellBoxHeight
                    color: columnHeader.programState === 1 ? "green" : "#8D8D8D"

                    RCText {
                        objectName: "columnHeaderName"
                        anchors.fill: parent
                        horizontalAlignment: Text.AlignHCenter
                        verticalAlignment: Text.AlignVCenter
                        elide: Text.ElideMiddle
                        color: "white"
                        text: root.mModel.mFillCount >= 0 && columnHeader.programId !== "" && root.mStelvaneSyncer
                              ? root.mStelvaneSyncer.getProgramName(columnHeader.programId) : ""
                    }
                }
                MouseArea {
                    anchors.fill: parent
                    enabled: !root.mInEditState && columnHeader.programId !== ""
                    onClicked: root.execAction(IRCAction.EActionType_ClickProgram, columnHeader.programId)
                }
            }
        }
        VerticalHeaderView {
            id: rowHeaders
            objectName: "tableRowHeaders"
            anchors.left: parent.left
            anchors.top: stopBox.bottom
            anchors.bottom: parent.bottom
            width: root.mRowHeaderWidth
            syncView: table
            clip: true
            delegate: Rectangle {
                id: rowHeader

                required property var display
                readonly property string layerId: root.textOf(display)

                objectName: "rowHeader_" + layerId
                implicitWidth: root.mRowHeaderWidth
                implicitHeight: root.mRowHeight
                color: "#403e3f"

                Rectangle {
                    anchors.top: parent.top
                    anchors.bottom: parent.bottom
                    anchors.right: parent.right
                    width: 1
                    color: "#707070"
                }
                Rectangle {
                    anchors.horizontalCenter: parent.horizontalCenter
                    anchors.bottom: parent.bottom
                    anchors.bottomMargin: 20 * RCUnits.dp
                    width: root.mCellBoxWidth
                    height: root.mCellBoxHeight
                    color: "gray"

                    RCText {
                        objectName: "rowHeaderName"
                        anchors.fill: parent
                        horizontalAlignment: Text.AlignHCenter
                        verticalAlignment: Text.AlignVCenter
                        elide: Text.ElideRight
                        color: "white"
                        text: root.mModel.mFillCount >= 0 && rowHeader.layerId !== "" && root.mStelvaneSyncer
                              ? root.mStelvaneSyncer.getProgramLayerName(rowHeader.layerId) : ""
                    }
                }
            }
        }
        TableView {
            id: table
            objectName: "programTableView"
            anchors.left: rowHeaders.right
            anchors.top: columnHeaders.bottom
            anchors.right: parent.right
            anchors.bottom: parent.bottom
            clip: true
            boundsBehavior: Flickable.StopAtBounds
            columnSpacing: root.mMargin
            rowSpacing: root.mMargin
            model: tableModel
            columnWidthProvider: column => root.mRowHeaderWidth
            rowHeightProvider: row => root.mRowHeight
            ScrollBar.horizontal: ScrollBar {
                policy: ScrollBar.AlwaysOn
            }
            ScrollBar.vertical: ScrollBar {
                policy: ScrollBar.AlwaysOn
            }
            delegate: Item {
                id: cell

                required property var display
                readonly property string nodeId: root.textOf(display)
                readonly property int nodeState: root.mModel.mFillCount >= 0 && nodeId !== "" && root.mStelvaneSyncer
                                                 ? root.mStelvaneSyncer.getProgramNodeState(nodeId) : 0

                objectName: "nodeCell_" + nodeId
                implicitWidth: root.mRowHeaderWidth
                implicitHeight: root.mRowHeight

                Rectangle {
                    id: nodeBox
                    objectName: "nodeCellBox"
                    anchors.right: parent.right
                    anchors.rightMargin: 11 * RCUnits.dp
                    anchors.bottom: parent.bottom
                    anchors.bottomMargin: 20 * RCUnits.dp
                    width: root.mCellBoxWidth
                    height: root.mCellBoxHeight
                    color: cell.nodeState === 1 ? "green" : "#403E3F"

                    Image {
                        anchors.fill: parent
                        anchors.margins: 2 * RCUnits.dp
                        cache: false
                        asynchronous: true
                        source: root.mModel.mFillCount >= 0 && cell.nodeId !== "" && root.mStelvaneSyncer
                                ? root.textOf(root.mStelvaneSyncer.getProgramNodePropertyValue(cell.nodeId,
                                                                                               "ThumbnailPath"))
                                : ""
                    }
                }
                RCText {
                    objectName: "nodeCellName"
                    anchors.top: nodeBox.bottom
                    anchors.horizontalCenter: nodeBox.horizontalCenter
                    width: Math.min(root.mCellTextWidth, parent.width)
                    horizontalAlignment: Text.AlignHCenter
                    elide: Text.ElideRight
                    color: "white"
                    text: root.mModel.mFillCount >= 0 && cell.nodeId !== "" && root.mStelvaneSyncer
                          ? root.mStelvaneSyncer.getProgramNodeName(cell.nodeId) : ""
                }
                MouseArea {
                    anchors.fill: parent
                    enabled: !root.mInEditState && cell.nodeId !== ""
                    onClicked: root.tapNode(cell.nodeId)
                }
            }
        }
    }
}
