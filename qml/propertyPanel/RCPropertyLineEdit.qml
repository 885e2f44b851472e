import QtQuick
import "../common"

// The one-line input of the text-like rows, filling its row's value cell: white text, selectable,
// clipped. show() puts a model value in without reporting it; userEdited(text) reports only what
// the user typed (after the validator let it through).
TextInput {
    id: root

    signal userEdited(string text)

    // Shows text unless the input already holds exactly that (which keeps the cursor in place
    // while the model echoes what the user just typed).
    function show(text) {
        if (root.text !== text)
            root.text = text
    }

    anchors.fill: parent
    leftPadding: 10 * RCUnits.dp
    rightPadding: 10 * RCUnits.dp
    verticalAlignment: TextInput.AlignVCenter
    color: "white"
    selectionColor: "#3A74EA"
    selectedTextColor: "white"
    selectByMouse: true
    clip: true
    font.family: "微软雅黑"
    font.pixelSize: 12 * RCUnits.dp

    onTextEdited: userEdited(text)
}
