import QtQuick
import QtQuick.Controls.Basic

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
        x: 10 * dp
        width: parent.width - 20 * dp
        anchors.verticalCenter: parent.verticalCenter
        spacing: 10 * dp

        Repeater {
            id: buttons
            model: root.mNames

            RadioButton {
                id: button
                required property int index
                required property string modelData
                objectName: "radio_" + index
                padding: 0
                spacing: 5 * dp
                text: modelData
                font.family: "微软雅黑"
                font.pixelSize: 12 * dp
                palette.windowText: "white"
                onToggled: {
                    if (checked)
                        root.writeValue(root.mValues[index])
                }
            }
        }
    }
}
