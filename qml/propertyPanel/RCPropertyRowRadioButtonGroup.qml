pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls.Basic
import "../common"

// A choice property as a row of radio buttons, one per entry in order; the button of the model's
// value is checked, and checking another writes its value.
RCPropertyChoiceRow {
    id: root

    onValueLoaded: value => {
        var index = indexOfValue(value)
        for (var i = 0; i < buttons.count; ++i) {
            var button = buttons.itemAt(i)
            if (button)
                button.checked = i === index
        }
    }

    Row {
        x: 10 * RCUnits.dp
        width: parent.width - 20 * RCUnits.dp
        anchors.verticalCenter: parent.verticalCenter
        spacing: 10 * RCUnits.dp

        Repeater {
            id: buttons
            model: root.mNames

            RadioButton {
                id: button
                required property int index
                required property string modelData
                objectName: "radio_" + index
                padding: 0
                spacing: 5 * RCUnits.dp
                text: modelData
                font.family: "微软雅黑"
                font.pixelSize: 12 * RCUnits.dp
                palette.windowText: "white"
                onToggled: {
                    if (checked)
                        root.writeValue(root.mValues[index])
                }
            }
        }
    }
}
