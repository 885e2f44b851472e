pragma ComponentBehavior: Bound

import QtQuick
import Qt.labs.platform as Platform
import "../common"

// A colour property: a swatch of the colour (a click opens the platform colour dialog) and its
// transparency in percent, tied to the colour's alpha a by a = 1 - t / 100. Changing the
// transparency or accepting the dialog writes the colour, with its alpha, as "#AARRGGBB" text
// ("#RRGGBB" when opaque).
RCPropertyRowBase {
    id: root

    // The colour shown and handed to the dialog.
    property color mDialogColor: "transparent"
    property var mDialog: null

    function transparency() {
        return input.text === "" ? 0 : Math.min(100, Number(input.text))
    }
    function alphaOf(t) {
        return 1 - t / 100
    }
    function writeColor(c) {
        root.writeValue(c.toString())
    }
    function withAlpha(c, a) {
        return Qt.rgba(c.r, c.g, c.b, a)
    }
    function colorDialog() {
        if (!mDialog)
            mDialog = dialogComponent.createObject(root)
        return mDialog
    }
    // The dialog's answer: its colour with the alpha of the transparency input.
    function acceptColor(c) {
        mDialogColor = withAlpha(c, alphaOf(transparency()))
        writeColor(mDialogColor)
    }

    onValueLoaded: value => {
        var c = Qt.color(value === undefined || value === null ? "" : String(value))
        if (!c.valid)
            return
        mDialogColor = c
        if (Math.abs(c.a - alphaOf(transparency())) > 0.0001)
            input.text = String(Math.round((1 - c.a) * 100))
    }

    Component {
        id: dialogComponent

        Platform.ColorDialog {
            options: Platform.ColorDialog.ShowAlphaChannel
            onAccepted: root.acceptColor(color)
        }
    }
    Rectangle {
        objectName: "swatch"
        x: 10 * RCUnits.dp
        width: root.height - 10 * RCUnits.dp
        height: width
        anchors.verticalCenter: parent.verticalCenter
        color: root.mDialogColor
        border.width: 1
        border.color: "#707070"

        MouseArea {
            anchors.fill: parent
            onClicked: {
                var dialog = root.colorDialog()
                dialog.color = root.mDialogColor
                dialog.open()
            }
        }
    }
    Row {
        x: 10 * RCUnits.dp + root.height
        anchors.verticalCenter: parent.verticalCenter
        spacing: 5 * RCUnits.dp

        RCText {
            anchors.verticalCenter: parent.verticalCenter
            text: qsTr("透明度")
            color: "white"
        }
        Rectangle {
            width: 60 * RCUnits.dp
            height: 20 * RCUnits.dp
            anchors.verticalCenter: parent.verticalCenter
            color: "white"

            TextInput {
                id: input
                objectName: "transparencyInput"
                anchors.fill: parent
                leftPadding: 4 * RCUnits.dp
                verticalAlignment: TextInput.AlignVCenter
                selectByMouse: true
                clip: true
                font.family: "微软雅黑"
                font.pixelSize: 12 * RCUnits.dp
                text: "0"
                validator: RegularExpressionValidator {
                    regularExpression: /[0-9]{0,3}/
                }
                onTextEdited: {
                    var t = text === "" ? 0 : Number(text)
                    if (t > 100)
                        t = 100
                    if (String(t) !== text)
                        text = String(t)
                    var a = root.alphaOf(t)
                    if (Math.abs(root.mDialogColor.a - a) > 0.0001) {
                        root.mDialogColor = root.withAlpha(root.mDialogColor, a)
                        root.writeColor(root.mDialogColor)
                    }
                }
            }
        }
        RCText {
            objectName: "transparencyUnit"
            anchors.verticalCenter: parent.verticalCenter
            text: "%"
            color: "white"
        }
    }
}
