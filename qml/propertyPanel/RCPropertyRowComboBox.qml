import QtQuick
import QtQuick.Controls.Basic
import "../common"

// A choice property as a drop-down list. The entry of the model's value becomes current (a value
// of no entry leaves the selection as it is); choosing an entry writes its value.
RCPropertyChoiceRow {
    id: root

    onValueLoaded: value => {
        var index = indexOfValue(value)
        if (index >= 0)
            combo.currentIndex = index
    }

    ComboBox {
        id: combo
        objectName: "comboBox"
        x: 5 * RCUnits.dp
        width: parent.width - 10 * RCUnits.dp
        height: root.height * 4 / 5
        anchors.verticalCenter: parent.verticalCenter
        model: root.mNames
        font.family: "微软雅黑"
        font.pixelSize: 12 * RCUnits.dp
        onActivated: index => {
            if (index >= 0 && index < root.mValues.length)
                root.writeValue(root.mValues[index])
        }
    }
}
