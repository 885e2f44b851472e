import QtQuick

// A text property: a one-line input; every edit writes the text.
RCPropertyRowBase {
    id: root

    onValueLoaded: value => input.show(value === undefined || value === null ? "" : String(value))

    RCPropertyLineEdit {
        id: input
        objectName: "input"
        onUserEdited: text => root.writeValue(text)
    }
}
