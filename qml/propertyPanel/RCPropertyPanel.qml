import QtQuick
import QtQuick.Controls.Basic
import "../common"
import Rc.IRCImageManager
import Rc.RCMessageBoxManager

// The property panel ("属性"): one row per visible property of the object with the editing focus,
// a scene or a scene item, each row an editor chosen by the property's display type. Every focus
// change, also to an object of the same kind, drops all rows and builds them anew. While two or
// more items are selected the rows are hidden.
//
// Rows are owned by mRows (by property name). A dropped row leaves the column at once and is
// destroyed from the event loop, so a row that is handling the event that changed the focus is
// never deleted under its own feet. Row components are made once per file and kept.
Rectangle {
    id: root

    property var mProject: null
    // Handed to every row with the project.
    property RCMessageBoxManager mMessageBoxManager: null
    property IRCImageManager mImageManager: null
    property var mPlatform: null
    property var mSceneItemPresenter: null
    property var mScenePresenter: null
    property string mFocusId: ""
    property RCMap mRows: RCMap {}
    // Row file -> its component, made on first use.
    property var mComponents: ({})

    color: "black"

    function clearRows() {
        var keys = mRows.getKeys()
        for (var i = 0; i < keys.length; ++i) {
            var row = mRows.getValue(keys[i])
            if (row) {
                row.visible = false
                row.parent = null
            }
        }
        mRows.clearValue()
    }
    function rebuild() {
        clearRows()
        if (mFocusId === "" || !mPlatform)
            return
        var sceneId = mPlatform.tryGetSceneId(mFocusId)
        if (sceneId !== "") {
            var count = mScenePresenter ? mScenePresenter.getPropertyCount(sceneId) : 0
            for (var i = 0; i < count; ++i)
                addSceneRow(sceneId, i)
            return
        }
        var itemId = mPlatform.tryGetSceneItemId(mFocusId)
        if (itemId === "" || !mScenePresenter || !mSceneItemPresenter)
            return
        var itemSceneId = mScenePresenter.getSelectSceneId()
        var itemCount = mSceneItemPresenter.getPropertyCount(itemSceneId, itemId)
        for (var j = 0; j < itemCount; ++j)
            addSceneItemRow(itemSceneId, itemId, j)
    }
    function componentOf(qmlFile) {
        var component = mComponents[qmlFile]
        if (component === undefined) {
            component = Qt.createComponent(qmlFile)
            mComponents[qmlFile] = component
        }
        if (component.status !== Component.Ready) {
            console.warn("Create component failed", qmlFile, component.errorString())
            return null
        }
        return component
    }
    // A row of the editor file; null, with nothing logged, for a display type without an editor.
    function createRow(qmlFile) {
        if (qmlFile === "")
            return null
        var component = componentOf(qmlFile)
        if (!component)
            return null
        var row = component.createObject(rowColumn, {
                                             "mProject": root.mProject,
                                             "mMessageBoxManager": root.mMessageBoxManager,
                                             "mImageManager": root.mImageManager
                                         })
        if (!row)
            console.warn("create object failed", qmlFile)
        return row
    }
    function addSceneRow(sceneId, index) {
        if (sceneId === "" || !mScenePresenter.getPropertyVisible(sceneId, index))
            return
        var row = createRow(mScenePresenter.getPropertyQmlFile(sceneId, index))
        if (!row)
            return
        row.mIsScene = true
        row.mScenePresenter = mScenePresenter
        row.mPropertyName = mScenePresenter.getPropertyName(sceneId, index)
        row.objectName = "row_" + row.mPropertyName
        row.mSceneId = sceneId
        mRows.insertValue(row.mPropertyName, row)
    }
    function addSceneItemRow(sceneId, itemId, index) {
        if (itemId === "" || !mSceneItemPresenter.getPropertyVisible(sceneId, itemId, index))
            return
        var row = createRow(mSceneItemPresenter.getPropertyQmlFile(sceneId, itemId, index))
        if (!row)
            return
        row.mIsSceneItem = true
        row.mScenePresenter = mScenePresenter
        row.mSceneItemPresenter = mSceneItemPresenter
        row.mPropertyName = mSceneItemPresenter.getPropertyName(sceneId, itemId, index)
        row.objectName = "row_" + row.mPropertyName
        row.mSceneId = sceneId
        row.mSceneItemId = itemId
        mRows.insertValue(row.mPropertyName, row)
    }
    // The row of a property, or null.
    function rowOf(propertyName) {
        return mRows.getValue(propertyName)
    }
    function rowCount() {
        return mRows.getCount()
    }
    // The property names of the rows, top to bottom.
    function rowNames() {
        var names = []
        for (var i = 0; i < rowColumn.children.length; ++i) {
            var row = rowColumn.children[i]
            if (row.visible)
                names.push(row.mPropertyName)
        }
        return names
    }

    onMFocusIdChanged: rebuild()

    Connections {
        target: root.mPlatform

        function onObjectFocusChanged(id) {
            root.mFocusId = id
        }
    }
    Connections {
        target: root.mSceneItemPresenter

        function onItemSelectChanged(sceneId, selectedItemIds) {
            scrollView.visible = selectedItemIds.length < 2
        }
    }

    RCText {
        id: title
        objectName: "panelTitle"
        x: 10 * RCUnits.dp
        y: 2 * RCUnits.dp
        text: qsTr("属性")
        color: "white"
        font.pixelSize: 24 * RCUnits.dp
    }
    ScrollView {
        id: scrollView
        objectName: "rowView"
        anchors.top: title.bottom
        anchors.topMargin: 10 * RCUnits.dp
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        contentWidth: availableWidth
        clip: true

        Column {
            id: rowColumn
            objectName: "rowColumn"
            width: scrollView.availableWidth
            spacing: 1 * RCUnits.dp
        }
    }
}
