.pragma library

// The action types (IRCAction::EActionType) that the shell's own buttons and entries send
// through the presenters and the action manager.
var DownloadProject = 18
var TopAlignment = 25
var BottomAlignment = 26
var LeftAlignment = 27
var RightAlignment = 28
var VerCenterAlignment = 29
var HorCenterAlignment = 30
var HorBisectorAlignment = 31
var VerBisectorAlignment = 32
var Undo = 52
var Redo = 53
