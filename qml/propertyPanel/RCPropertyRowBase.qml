import QtQuick
import "../common"
import Rc.IRCImageManager
import Rc.RCMessageBoxManager

// What every row of the property panel shares: the name cell with the property's description,
// the value cell that the row's editor fills, loading, following the model and writing.
//
// The panel sets mIsScene or mIsSceneItem, the presenters, mPropertyName, mSceneId and, for an
// item, mSceneItemId; setting the last id loads the row: the description and then
// valueLoaded(value). Every later change of that property in the model, also by undo and
// redo, arrives as valueLoaded(value) again. Editors show what valueLoaded hands them and
// call writeValue() only for what the user did, so filling a row never writes.
Item {
    id: root

    property real mNameWidth: 140 * RCUnits.dp
    // The open project, for rows that need more than the presenters (the icon row's picture folder).
    property var mProject: null
    // The program's services for rows that show a message or a project picture.
    property RCMessageBoxManager mMessageBoxManager: null
    property IRCImageManager mImageManager: null
    property var mScenePresenter: null
    property var mSceneItemPresenter: null
    property string mSceneId: ""
    property string mSceneItemId: ""
    property string mPropertyName: ""
    property bool mIsScene: false
    property bool mIsSceneItem: false
    property string mDescription: ""
    // The name as a bar over the whole width (mNameBarHeight high) with the editor below it,
    // instead of a name cell at the left of the editor.
    property bool mStacked: false
    property real mNameBarHeight: 36 * RCUnits.dp
    property alias mNameCell: nameCell
    property alias mNameText: nameText
    default property alias mValueContent: valueCell.data
    property alias mValueCell: valueCell

    // The property's value as the model holds it now: loaded or changed.
    signal valueLoaded(var value)

    width: parent ? parent.width : 0
    height: 36 * RCUnits.dp

    function readValue() {
        if (mIsScene && mScenePresenter)
            return mScenePresenter.getPropertyValue(mSceneId, mPropertyName)
        if (mIsSceneItem && mSceneItemPresenter)
            return mSceneItemPresenter.getPropertyValue(mSceneId, mSceneItemId, mPropertyName)
        return undefined
    }
    // Writes value as one undoable step; the model ignores a value equal to the current one.
    function writeValue(value) {
        if (mIsScene && mScenePresenter && mSceneId !== "")
            mScenePresenter.setPropertyValue(mSceneId, mPropertyName, value, true)
        else if (mIsSceneItem && mSceneItemPresenter && mSceneItemId !== "")
            mSceneItemPresenter.setPropertyValue(mSceneId, mSceneItemId, mPropertyName, value, true)
    }
    function displayData(key) {
        if (mIsScene && mScenePresenter)
            return mScenePresenter.getPropertyDisplayData(mSceneId, mPropertyName, key)
        if (mIsSceneItem && mSceneItemPresenter)
            return mSceneItemPresenter.getPropertyDisplayData(mSceneId, mSceneItemId, mPropertyName, key)
        return undefined
    }
    function load() {
        if (mIsScene && mScenePresenter)
            mDescription = mScenePresenter.getPropertyDescription(mSceneId, mPropertyName)
        else if (mIsSceneItem && mSceneItemPresenter)
            mDescription = mSceneItemPresenter.getPropertyDescription(mSceneId, mSceneItemId, mPropertyName)
        else
            return
        valueLoaded(readValue())
    }

    onMSceneIdChanged: {
        if (mIsScene && mSceneId !== "")
            load()
    }
    onMSceneItemIdChanged: {
        if (mIsSceneItem && mSceneItemId !== "")
            load()
    }

    Connections {
        target: root.mIsScene ? root.mScenePresenter : null

        function onScenePropertyValueChanged(sceneId, sName, value) {
            if (sceneId === root.mSceneId && sName === root.mPropertyName)
                root.valueLoaded(value)
        }
    }
    Connections {
        target: root.mIsSceneItem ? root.mSceneItemPresenter : null

        function onItemPropertyValueChanged(sceneId, itemId, sName, value) {
            if (itemId === root.mSceneItemId && sceneId === root.mSceneId && sName === root.mPropertyName)
                root.valueLoaded(value)
        }
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
