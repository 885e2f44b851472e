import QtQuick

// A whole-number property: digits only, no sign. Emptying the input makes it 0 (selected, so the
// next digit replaces it); a number past the largest int is held at the largest int, so the model
// always gets an int.
RCPropertyRowBase {
    id: root

    readonly property int mMaxValue: 2147483647

    onValueLoaded: value => input.show(value === undefined || value === null ? "" : String(value))

    RCPropertyLineEdit {
        id: input
        objectName: "input"
        validator: RegularExpressionValidator {
            regularExpression: /[0-9]{0,10}/
        }
        onUserEdited: text => {
            var number = text === "" ? 0 : Number(text)
            if (number > root.mMaxValue)
                number = root.mMaxValue
            if (String(number) !== text)
                show(String(number))
            if (text === "")
                selectAll()
            root.writeValue(number | 0)
        }
    }
}
