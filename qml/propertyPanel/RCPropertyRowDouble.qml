import QtQuick

// A decimal property: digits with at most one decimal point. Emptying the input makes it 0
// (selected, so the next key replaces it); a text that is no number yet (a lone ".") writes
// nothing.
RCPropertyRowBase {
    id: root

    onValueLoaded: value => input.show(value === undefined || value === null ? "" : String(value))

    RCPropertyLineEdit {
        id: input
        objectName: "input"
        validator: RegularExpressionValidator {
            regularExpression: /[0-9]{0,15}(\.[0-9]{0,15})?/
        }
        onUserEdited: text => {
            if (text === "") {
                show("0")
                selectAll()
                root.writeValue(0)
                return
            }
            var number = Number(text)
            if (isFinite(number))
                root.writeValue(number)
        }
    }
}
