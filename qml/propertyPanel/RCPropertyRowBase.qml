import QtQuick
import "../common"
import Rc.IRCImageManager
import Rc.RCMessageBoxManager
import Rc.RCPropertyRowModel
import Rc.IRCProject 1.0

// What every row of the property panel shares: the name cell with the property's description,
// the value cell that the row's editor fills, following the model and writing.
//
// A row is a delegate of the panel's RCPropertyRowModel: its required properties are the roles of
// its model row, and the model renews `value` on every change of that one property in the
// document (undo and redo included). The row hands the value to its editor as valueLoaded(value),
// once when it is complete and then on every change. Editors show what valueLoaded hands them
// and call writeValue() only for what the user did, so filling a row never writes.
Item {
    id: root

    // The roles of the row's model row.
    required property int index
    required property string objectId
    required property string propertyName
    required property string description
    required property var value

    property real mNameWidth: 140 * RCUnits.dp
    // The model whose row this is; writes go through it.
    property RCPropertyRowModel mModel: null
    // The open project, for rows that need more than the model (the icon row's picture folder).
    property IRCProject mProject: null
    // The program's services for rows that show a message or a project picture.
    property RCMessageBoxManager mMessageBoxManager: null
    property IRCImageManager mImageManager: null
    readonly property string mPropertyName: propertyName
    readonly property string mDescription: description
    // The name as a bar over the whole width (mNameBarHeight high) with the editor below it,
    // instead of a name cell at the left of the editor.
    property bool mStacked: false
    property real mNameBarHeight: 36 * RCUnits.dp
    property alias mNameCell: nameCell
    property alias mNameText: nameText
    default property alias mValueContent: valueCell.data
    property alias mValueCell: valueCell
    // Set once the row is complete: from then on every new value is handed on.
    property bool mLoaded: false

    // The property's value as the model holds it now: loaded or changed.
    signal valueLoaded(var value)

    objectName: "row_" + propertyName
    width: parent ? parent.width : 0
    height: 36 * RCUnits.dp

    // Writes value as one undoable step; the model ignores a value equal to the current one.
    function writeValue(value) {
        if (mModel)
            mModel.setValue(objectId, index, value)
    }

    onValueChanged: {
        if (mLoaded)
            valueLoaded(value)
    }
    Component.onCompleted: {
        mLoaded = true
        valueLoaded(value)
    }

    Rectangle {
        id: nameCell
        objectName: "nameCell"
        width: root.mStacked ? root.width : root.mNameWidth
        height: root.mStacked ? root.mNameBarHeight : root.height
        color: "#1a1a1c"

        RCText {
            id: nameText
            objectName: "nameText"
            x: 10 * RCUnits.dp
            width: root.mStacked ? Math.min(implicitWidth, parent.width / 2) : parent.width - x
            anchors.verticalCenter: parent.verticalCenter
            text: root.mDescription
            color: "white"
            elide: Text.ElideRight
        }
    }
    Rectangle {
        id: valueCell
        objectName: "valueCell"
        x: root.mStacked ? 0 : root.mNameWidth + 1 * RCUnits.dp
        y: root.mStacked ? nameCell.height + 2 * RCUnits.dp : 0
        width: root.width - x
        height: root.height - y
        color: "#1a1a1c"
    }
}
