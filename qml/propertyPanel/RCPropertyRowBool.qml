import QtQuick
import QtQuick.Controls.Basic
import "../common"

// A yes/no property: a check box; every toggle by the user writes the checked state.
RCPropertyRowBase {
    id: root

    onValueLoaded: value => check.checked = value === true || value === "true"

    CheckBox {
        id: check
        objectName: "checkBox"
        x: 10 * RCUnits.dp
        anchors.verticalCenter: parent.verticalCenter
        padding: 0
        onToggled: root.writeValue(checked)
    }
}
