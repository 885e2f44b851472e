import QtQuick

// The base of the views that show programs as tiles (RCProgramItem): the program manager, the
// Quenor program manager and the Vexa program manager. It holds the item's node keys, which every
// tile of the view follows: the grid (node width and height, spacings, corner radius) and the
// tile's frame, state colours and text. A view adds mTileKeyTable to its own key table.
RCSceneItem {
    id: root

    property real mNodeWidth: 60
    property real mNodeHeight: 60
    property real mNodeHorSpacing: 10
    property real mNodeVerSpacing: 10
    property real mNodeRadius: 0
    property real mNodeFrameSize: 2
    property color mNodeFrameColor: "gray"
    property color mNodePlayColor: "green"
    property color mNodePauseColor: "yellow"
    property color mNodeStopColor: "red"
    property color mNodeTextPlayColor: "white"
    property color mNodeTextPauseColor: "white"
    property color mNodeTextStopColor: "white"
    property real mNodeTextSize: 12
    readonly property var mTileKeyTable: [
        ["ProgramManager_Node_Width", "mNodeWidth", 60, "number"],
        ["ProgramManager_Node_Height", "mNodeHeight", 60, "number"],
        ["ProgramManager_Node_HorSpaceing", "mNodeHorSpacing", 10, "number"],
        ["ProgramManager_Node_VerSpaceing", "mNodeVerSpacing", 10, "number"],
        ["ProgramManager_Node_Radius", "mNodeRadius", 0, "number"],
        ["ProgramManager_Node_FrameSize", "mNodeFrameSize", 2, "number"],
        ["ProgramManager_Node_FrameColor", "mNodeFrameColor", "gray", "color"],
        ["ProgramManager_Node_PlayColor", "mNodePlayColor", "green", "color"],
        ["ProgramManager_Node_PauseColor", "mNodePauseColor", "yellow", "color"],
        ["ProgramManager_Node_StopColor", "mNodeStopColor", "red", "color"],
        ["ProgramManager_Node_TextPlayColor", "mNodeTextPlayColor", "white", "color"],
        ["ProgramManager_Node_TextPauseColor", "mNodeTextPauseColor", "white", "color"],
        ["ProgramManager_Node_TextStopColor", "mNodeTextStopColor", "white", "color"],
        ["ProgramManager_Node_TextSize", "mNodeTextSize", 12, "number"]
    ]
}
