import QtQml

// A key -> value table in insertion order that owns the objects it holds: a value that leaves
// the table by removeValue, by clearValue or by being replaced under its key is destroyed;
// takeValue hands the value back to the caller instead. Views keep the rows and tiles they
// create at run time here.
QtObject {
    id: root

    // the keys in insertion order, and the values by slot ("k:" + key, so that no key meets the
    // object's own properties); not a JS Map, whose delete() in Qt 6.4 can write past its table
    property var mKeys: []
    property var mValues: ({})

    function insertValue(key, value) {
        var slot = "k:" + key
        if (slot in mValues) {
            var old = mValues[slot]
            if (old && old !== value)
                destroyValue(old)
        } else {
            mKeys.push(String(key))
        }
        mValues[slot] = value
    }
    // Drops the entry and destroys its value; nothing for a missing key.
    function removeValue(key) {
        destroyValue(takeValue(key))
    }
    // Drops the entry and returns its value (null for a missing key) without destroying it.
    function takeValue(key) {
        var slot = "k:" + key
        if (!(slot in mValues))
            return null
        var value = mValues[slot]
        delete mValues[slot]
        mKeys.splice(mKeys.indexOf(String(key)), 1)
        return value
    }
    function getValue(key) {
        var slot = "k:" + key
        return slot in mValues ? mValues[slot] : null
    }
    // The number of keys, also of those that hold null.
    function getCount() {
        return mKeys.length
    }
    // Whether a non-null value is stored under key.
    function hasKey(key) {
        var value = mValues["k:" + key]
        return value !== undefined && value !== null
    }
    function getKeys() {
        return mKeys.slice()
    }
    function clearValue() {
        var values = mValues
        var keys = mKeys
        mKeys = []
        mValues = {}
        for (var i = 0; i < keys.length; ++i)
            destroyValue(values["k:" + keys[i]])
    }
    function destroyValue(value) {
        if (value && typeof value.destroy === "function")
            value.destroy()
    }
}
