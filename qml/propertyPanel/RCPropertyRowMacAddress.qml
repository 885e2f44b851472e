import QtQuick
import "../common"

// A hardware address in six groups of two hexadecimal digits joined by "-". A model value is shown
// only when it has six non-empty groups; the input is written only once all six groups are filled
// and it differs from the address last shown or written.
RCPropertyRowBase {
    id: root

    // The address last shown or written.
    property string mAddress: ""

    function hasSixGroups(text) {
        var groups = String(text).split("-")
        if (groups.length !== 6)
            return false
        for (var i = 0; i < groups.length; ++i) {
            if (groups[i] === "")
                return false
        }
        return true
    }

    onValueLoaded: value => {
        var text = value === undefined || value === null ? "" : String(value)
        if (!hasSixGroups(text)) {
            console.warn("MacAddress format Is Wrong(01-02-03-04-05)")
            return
        }
        if (text === mAddress)
            return
        mAddress = text
        input.show(text)
    }

    RCPropertyLineEdit {
        id: input
        objectName: "input"
        inputMask: "HH-HH-HH-HH-HH-HH"
        font.letterSpacing: 2 * RCUnits.dp
        onUserEdited: text => {
            if (!acceptableInput || !root.hasSixGroups(text) || text === root.mAddress)
                return
            root.mAddress = text
            root.writeValue(text)
        }
    }
}
