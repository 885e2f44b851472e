import QtQuick

// The tiles of a program view, one row per program: {"programId", "programName", "programState",
// "timeText"}. Rows are filed by id: putTile never adds an id twice (it updates the row instead)
// and clamps the position it is given into the list, so a position that a server sends cannot
// break the model.
ListModel {
    id: root

    function rowOf(id) {
        for (var i = 0; i < count; ++i) {
            if (get(i).programId === id)
                return i
        }
        return -1
    }
    // Adds the tile at index (appended for an index past the end or none), or updates the
    // existing tile of that id where it is.
    function putTile(id, name, state, time, index) {
        var row = rowOf(id)
        var fields = {
            "programId": id,
            "programName": name,
            "programState": state,
            "timeText": time === undefined ? "" : time
        }
        if (row >= 0) {
            set(row, fields)
            return
        }
        var at = Number(index)
        if (index === undefined || !isFinite(at) || at >= count)
            append(fields)
        else
            insert(Math.max(0, Math.floor(at)), fields)
    }
    function removeTile(id) {
        var row = rowOf(id)
        if (row >= 0)
            remove(row)
    }
    function setTileField(id, field, value) {
        var row = rowOf(id)
        if (row >= 0)
            setProperty(row, field, value)
    }
}
