// The mirror's Vexa lists of one kind (0 video, 1 audio, 2 text), read through the operations of
// that kind only: lists of two kinds may bear the same id, and a view of one kind must never show
// the other kind's list. Every function answers a neutral value ("", 0, undefined, false) for a
// kind outside 0 to 2 or a missing mirror.
.pragma library

var names = ["Video", "Audio", "Text"]

function isKind(kind) {
    return kind === 0 || kind === 1 || kind === 2
}
function listCount(mirror, kind) {
    return mirror && isKind(kind) ? mirror["getVexa" + names[kind] + "ProgramListCount"]() : 0
}
function listId(mirror, kind, i) {
    return mirror && isKind(kind) ? mirror["getVexa" + names[kind] + "ProgramListId"](i) : ""
}
function programCount(mirror, kind, id) {
    return mirror && isKind(kind) ? mirror["getVexa" + names[kind] + "ProgramCount"](id) : 0
}
function programId(mirror, kind, id, i) {
    return mirror && isKind(kind) ? mirror["getVexa" + names[kind] + "ProgramId"](id, i) : ""
}
// Whether the mirror holds a list of that kind and id.
function hasList(mirror, kind, id) {
    var value = mirror && isKind(kind) ? mirror.getVexaProgramListPropertyOfKind(kind, id, "Id") : undefined
    return value !== undefined && value !== null && String(value) === id
}
function listName(mirror, kind, id) {
    return text(mirror && isKind(kind) ? mirror.getVexaProgramListPropertyOfKind(kind, id, "Name") : undefined)
}
function programProperty(mirror, kind, id, program, key) {
    return mirror && isKind(kind) ? mirror.getVexaProgramPropertyOfKind(kind, id, program, key) : undefined
}
function playingList(mirror, kind) {
    return mirror && isKind(kind) ? mirror["getPlaying" + names[kind] + "ProgramList"]() : ""
}
function playingProgram(mirror, kind) {
    return mirror && isKind(kind) ? mirror["getPlaying" + names[kind] + "Program"]() : ""
}
function text(value) {
    return value === undefined || value === null ? "" : String(value)
}
function number(value) {
    var n = Number(value)
    return value !== undefined && value !== null && value !== "" && isFinite(n) ? n : 0
}
