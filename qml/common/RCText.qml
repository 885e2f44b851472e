import QtQuick

// Text in the interface's font, "微软雅黑" at 12 pixels unless the user of the text says otherwise.
Text {
    font.family: "微软雅黑"
    font.pixelSize: 12 * RCUnits.dp
}
