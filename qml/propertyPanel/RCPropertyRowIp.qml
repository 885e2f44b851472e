import QtQuick

// A dotted IPv4 address. Each part takes 0 to 255 and may be empty while typing; only a complete
// address of four parts (or an emptied input) is written.
RCPropertyRowBase {
    id: root

    readonly property var mCompleteAddress: /^((25[0-5]|2[0-4][0-9]|1[0-9][0-9]|[1-9]?[0-9])\.){3}(25[0-5]|2[0-4][0-9]|1[0-9][0-9]|[1-9]?[0-9])$/

    onValueLoaded: value => input.show(value === undefined || value === null ? "" : String(value))

    RCPropertyLineEdit {
        id: input
        objectName: "input"
        validator: RegularExpressionValidator {
            regularExpression: /((25[0-5]|2[0-4][0-9]|1[0-9][0-9]|[1-9]?[0-9])?\.){0,3}(25[0-5]|2[0-4][0-9]|1[0-9][0-9]|[1-9]?[0-9])?/
        }
        onUserEdited: text => {
            if (text === "" || root.mCompleteAddress.test(text))
                root.writeValue(text)
        }
    }
}
