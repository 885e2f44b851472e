import QtQuick
import QtQuick.Controls.Basic
import Rc.IRCAction 1.0
import Rc.QmlComponents 1.0
import "../common"

// The media server's program table: programs as columns, layers as rows, nodes in the cells (a
// node spanning several programs fills a cell in each of their columns). The model holds ids only
// (ProgramTableModel: column headers program ids, row headers layer ids, cells node ids); the
// delegates read names, states and thumbnails from the mirror, and a delegate reads again when
// its id is set to "" and back.
//
// The table is rebuilt when the view is completed and on every programTableUpdate; in between it
// follows the mirror's single changes. Where each node's cells are is kept by ids (its layer and
// programs), so a node that moves to another layer or other programs leaves exactly its old cells
// and a removed node empties exactly its own. A cell that a leaving node showed reads the mirror
// again: it shows what a rebuild would, the last node in the mirror's order that the mirror still
// places there, or nothing.
//
// Taps (control mode; each plays the click sound first): the stop box stops all programs, a
// column header plays or pauses that program, a node cell starts a node that is not playing and
// pauses one that is. An empty cell takes no tap.
RCSceneItem {
    id: root

    property real mMargin: 1 * dp
    property real mRowHeight: 66 * dp
    property real mRowHeaderWidth: 84 * dp
    property real mColumnHeaderHeight: 44 * dp
    property real mCellTextWidth: 90 * dp
    property real mCellBoxWidth: 62 * dp
    property real mCellBoxHeight: 30 * dp
    property string mName: ""
    property color mTextColor: "white"
    property real mTextSize: 12
    property bool mTextBold: true
    // node id -> {"layer": layer id, "programs": [program ids]}: where its cells are.
    property var mNodeCells: ({})
    // cellKey(layer id, program id) -> [node ids]: every node the mirror places in the cell.
    property var mCellNodes: ({})
    readonly property alias mModel: tableModel

    // Rebuilds the whole table from the mirror.
    function rebuild() {
        var mirror = mStelvaneSyncer
        if (!mirror)
            return
        var programs = []
        var programCount = mirror.getProgramCount()
        for (var p = 0; p < programCount; ++p)
            programs.push(mirror.getProgram(p))
        var layers = []
        var layerCount = mirror.getProgramLayerCount()
        for (var l = 0; l < layerCount; ++l)
            layers.push(mirror.getProgramLayer(l))
        tableModel.setTableInfo(layers.length, programs.length)
        tableModel.setHorizontalData(programs)
        tableModel.setVerticalData(layers)
        var columns = {}
        for (var c = 0; c < programs.length; ++c) {
            if (!(programs[c] in columns))
                columns[programs[c]] = c
        }
        var rows = {}
        for (var r = 0; r < layers.length; ++r) {
            if (!(layers[r] in rows))
                rows[layers[r]] = r
        }
        mNodeCells = {}
        mCellNodes = {}
        var nodeCount = mirror.getProgramNodeCount()
        for (var n = 0; n < nodeCount; ++n) {
            var nodeId = mirror.getProgramNode(n)
            var cells = cellsOfMirror(nodeId)
            mNodeCells[nodeId] = cells
            indexCells(nodeId, cells, true)
            var row = cells.layer in rows ? rows[cells.layer] : -1
            for (var k = 0; k < cells.programs.length && row >= 0; ++k) {
                if (cells.programs[k] in columns)
                    tableModel.setTableItemData(row, columns[cells.programs[k]], nodeId)
            }
        }
    }
    // Where the mirror puts the node now.
    function cellsOfMirror(nodeId) {
        var list = mStelvaneSyncer.getProgramNodeProgramIdList(nodeId)
        var programs = []
        for (var i = 0; i < list.length; ++i)
            programs.push(String(list[i]))
        return {"layer": mStelvaneSyncer.getProgramNodeProgramLayerId(nodeId), "programs": programs}
    }
    // Calls fn(row, column, program id) for each cell of cells that the table has.
    function forEachCell(cells, fn) {
        var row = tableModel.rowIndex(cells.layer)
        if (row < 0)
            return
        for (var i = 0; i < cells.programs.length; ++i) {
            var column = tableModel.columnIndex(cells.programs[i])
            if (column >= 0)
                fn(row, column, cells.programs[i])
        }
    }
    function cellKey(layerId, programId) {
        return JSON.stringify([layerId, programId])
    }
    // Enters the node into (or takes it out of) the nodes placed in each of its cells.
    function indexCells(nodeId, cells, add) {
        for (var i = 0; i < cells.programs.length; ++i) {
            var key = cellKey(cells.layer, cells.programs[i])
            var nodes = (mCellNodes[key] || []).filter(id => id !== nodeId)
            if (add)
                nodes.push(nodeId)
            if (nodes.length > 0)
                mCellNodes[key] = nodes
            else
                delete mCellNodes[key]
        }
    }
    // The node a rebuild shows in the cell: the last in the mirror's order (ascending ids).
    function occupantOf(layerId, programId) {
        var nodes = mCellNodes[cellKey(layerId, programId)] || []
        var last = ""
        for (var i = 0; i < nodes.length; ++i) {
            if (i === 0 || nodes[i] > last)
                last = nodes[i]
        }
        return last
    }
    function cellText(row, column) {
        var value = tableModel.data(tableModel.index(row, column))
        return value === undefined || value === null ? "" : String(value)
    }
    function placeNode(nodeId) {
        var cells = cellsOfMirror(nodeId)
        mNodeCells[nodeId] = cells
        indexCells(nodeId, cells, true)
        forEachCell(cells, (row, column) => tableModel.setTableItemData(row, column, nodeId))
    }
    // The cells the node was placed in that still show it show what the mirror places there now.
    function unplaceNode(nodeId) {
        var cells = mNodeCells[nodeId]
        if (!cells)
            return
        delete mNodeCells[nodeId]
        indexCells(nodeId, cells, false)
        forEachCell(cells, (row, column, programId) => {
                        if (cellText(row, column) === nodeId)
                            tableModel.setTableItemData(row, column, occupantOf(cells.layer, programId))
                    })
    }
    // Makes the node's cells read the mirror again.
    function refreshNode(nodeId) {
        var cells = mNodeCells[nodeId]
        if (!cells)
            return
        forEachCell(cells, (row, column) => {
                        if (cellText(row, column) === nodeId) {
                            tableModel.setTableItemData(row, column, "")
                            tableModel.setTableItemData(row, column, nodeId)
                        }
                    })
    }
    // A program or layer at a position the server gave: appended at or past the end (the model
    // takes an insert only before an existing column or row), clamped at the front.
    function insertProgram(programId, index) {
        if (index >= tableModel.columnCount())
            tableModel.appendColumn(programId)
        else
            tableModel.insertColumn(Math.max(0, index), programId)
        placeNodesOf("programs", programId)
    }
    function insertLayer(layerId, index) {
        if (index >= tableModel.rowCount())
            tableModel.appendRow(layerId)
        else
            tableModel.insertRow(Math.max(0, index), layerId)
        placeNodesOf("layer", layerId)
    }
    // Fills a new column or row with the nodes that were waiting for it.
    function placeNodesOf(field, id) {
        for (var nodeId in mNodeCells) {
            var cells = mNodeCells[nodeId]
            if (field === "layer" ? cells.layer !== id : cells.programs.indexOf(id) < 0)
                continue
            forEachCell(cells, (row, column, programId) => {
                            if (field === "layer" || programId === id)
                                tableModel.setTableItemData(row, column, occupantOf(cells.layer, programId))
                        })
        }
    }
    function refreshProgramHeader(programId) {
        var column = tableModel.columnIndex(programId)
        if (column < 0)
            return
        tableModel.updateHorizontalData(column, "")
        tableModel.updateHorizontalData(column, programId)
        tableModel.trigleUpdateByColIndex(column)
    }
    function refreshLayerHeader(layerId) {
        var row = tableModel.rowIndex(layerId)
        if (row < 0)
            return
        var headers = []
        for (var i = 0; i < tableModel.rowCount(); ++i)
            headers.push(String(tableModel.headerData(i, Qt.Vertical)))
        headers[row] = ""
        tableModel.setVerticalData(headers)
        headers[row] = layerId
        tableModel.setVerticalData(headers)
        tableModel.trigleUpdateByRowIndex(row)
    }
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

    onMStelvaneSyncerChanged: rebuild()

    Connections {
        target: root.mStelvaneSyncer
        function onProgramTableUpdate() {
            root.rebuild()
        }
        function onProgramAdd(sId, params) {
            root.insertProgram(sId, tableModel.columnCount())
        }
        function onProgramInsert(sId, params, index) {
            root.insertProgram(sId, index)
        }
        function onProgramRemove(sId, index) {
            var column = tableModel.columnIndex(sId)
            if (column >= 0)
                tableModel.removeColumn(column)
        }
        function onProgramPropertyChanged(sId, sProName, value) {
            if (sProName === "Name" || sProName === "State")
                root.refreshProgramHeader(sId)
        }
        function onProgramLayerAdd(sId, params) {
            root.insertLayer(sId, tableModel.rowCount())
        }
        function onProgramLayerInsert(sId, params, index) {
            root.insertLayer(sId, index)
        }
        function onProgramLayerRemove(sId, index) {
            var row = tableModel.rowIndex(sId)
            if (row >= 0)
                tableModel.removeRow(row)
        }
        function onProgramLayerPropertyChanged(sId, sProName, value) {
            root.refreshLayerHeader(sId)
        }
        function onProgramNodeAdd(sId, params) {
            root.unplaceNode(sId)
            root.placeNode(sId)
        }
        function onProgramNodeRemove(sId, row, programIdList) {
            root.unplaceNode(sId)
        }
        function onProgramNodePropertyChanged(sId, sProName, value) {
            if (sProName === "ProgramLayerId" || sProName === "ProgramIdList") {
                root.unplaceNode(sId)
                root.placeNode(sId)
            } else if (sProName === "Name" || sProName === "State" || sProName === "ThumbnailPath") {
                root.refreshNode(sId)
            }
        }
    }

    ProgramTableModel {
        id: tableModel
    }

    mContentItem: Rectangle {
        color: "#191919"

        RCText {
            objectName: "tableCaption"
            anchors.left: parent.left
            anchors.bottom: parent.top
            anchors.bottomMargin: 5 * dp
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
            border.width: 1 * dp

            RCImage {
                anchors.centerIn: parent
                width: 40 * dp
                height: 22 * dp
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
                readonly property int programState: programId === "" || !root.mStelvaneSyncer
                                                    ? 0 : root.mStelvaneSyncer.getProgramState(programId)

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
                    anchors.rightMargin: 11 * dp
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
                        text: columnHeader.programId === "" || !root.mStelvaneSyncer
                              ? "" : root.mStelvaneSyncer.getProgramName(columnHeader.programId)
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
                    anchors.bottomMargin: 20 * dp
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
                        text: rowHeader.layerId === "" || !root.mStelvaneSyncer
                              ? "" : root.mStelvaneSyncer.getProgramLayerName(rowHeader.layerId)
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
                readonly property int nodeState: nodeId === "" || !root.mStelvaneSyncer
                                                 ? 0 : root.mStelvaneSyncer.getProgramNodeState(nodeId)

                objectName: "nodeCell_" + nodeId
                implicitWidth: root.mRowHeaderWidth
                implicitHeight: root.mRowHeight

                Rectangle {
                    id: nodeBox
                    objectName: "nodeCellBox"
                    anchors.right: parent.right
                    anchors.rightMargin: 11 * dp
                    anchors.bottom: parent.bottom
                    anchors.bottomMargin: 20 * dp
                    width: root.mCellBoxWidth
                    height: root.mCellBoxHeight
                    color: cell.nodeState === 1 ? "green" : "#403E3F"

                    Image {
                        anchors.fill: parent
                        anchors.margins: 2 * dp
                        cache: false
                        asynchronous: true
                        source: cell.nodeId === "" || !root.mStelvaneSyncer
                                ? "" : root.textOf(root.mStelvaneSyncer.getProgramNodePropertyValue(cell.nodeId,
                                                                                                    "ThumbnailPath"))
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
                    text: cell.nodeId === "" || !root.mStelvaneSyncer
                          ? "" : root.mStelvaneSyncer.getProgramNodeName(cell.nodeId)
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
