import QtQuick

// The choice rows' share: the entries of the model row, shown texts (choiceNames) and the values
// they write (choiceValues, same length), and the entry of a value.
RCPropertyRowBase {
    id: root

    required property var choiceNames
    required property var choiceValues
    readonly property var mNames: choiceNames
    readonly property var mValues: choiceValues

    // The index of the entry whose value is value, -1 for none.
    function indexOfValue(value) {
        for (var i = 0; i < mValues.length; ++i) {
            if (mValues[i] === value || String(mValues[i]) === String(value))
                return i
        }
        return -1
    }
}
