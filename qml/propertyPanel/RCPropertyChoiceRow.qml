import QtQuick

// The choice rows' share: the entries from the display data "ComboBoxItemNameList" (shown) and
// "ComboBoxItemDataList" (written), paired by position up to the shorter list and read when the
// row first looks up a value, and the entry of a value.
RCPropertyRowBase {
    id: root

    property var mNames: []
    property var mValues: []
    property bool mEntriesRead: false

    // The index of the entry whose value is value, -1 for none. Reads the entries the first time.
    function indexOfValue(value) {
        if (!mEntriesRead)
            readEntries()
        for (var i = 0; i < mValues.length; ++i) {
            if (mValues[i] === value || String(mValues[i]) === String(value))
                return i
        }
        return -1
    }
    function readEntries() {
        var names = displayData("ComboBoxItemNameList")
        var values = displayData("ComboBoxItemDataList")
        names = Array.isArray(names) ? names : []
        values = Array.isArray(values) ? values : []
        var count = Math.min(names.length, values.length)
        mValues = values.slice(0, count)
        mNames = names.slice(0, count).map(name => String(name))
        mEntriesRead = true
    }
}
