pragma ComponentBehavior: Bound

import QtQuick
import "../common"

// The tabs and pages of the Vexa program manager: one tab and one page
// (RCSceneItemVexaProgramList) per Vexa list, filed by list id; only the current tab's page
// shows. The first tab added while none is current becomes current; when the current tab goes,
// the tab that takes its place (or else the one before it) becomes current. The bar scrolls when
// it is too wide and keeps the current tab 40 units from either edge. Taps on the pages' tiles
// come out as programTryPlay and programTryPause.
Item {
    id: root

    // The Vexa program manager (tab keys, node keys, scale factors, mirror).
    property var mView: null
    property int mKind: 0
    property string mCurrentListId: ""
    readonly property alias mTabs: tabModel

    signal programTryPlay(string programListId, string programId)
    signal programTryPause(string programListId, string programId)

    function tabOf(listId) {
        for (var i = 0; i < tabModel.count; ++i) {
            if (tabModel.get(i).listId === listId)
                return i
        }
        return -1
    }
    // Adds the tab of a list at index (appended past the end or for none); a list already shown
    // keeps its tab and takes the name.
    function insertTab(listId, name, index) {
        var at = tabOf(listId)
        if (at >= 0) {
            tabModel.setProperty(at, "tabName", name)
            return
        }
        var position = Number(index)
        var row = {"listId": listId, "tabName": name}
        if (index === undefined || !isFinite(position) || position >= tabModel.count)
            tabModel.append(row)
        else
            tabModel.insert(Math.max(0, Math.floor(position)), row)
        if (mCurrentListId === "")
            mCurrentListId = listId
    }
    function removeTab(listId) {
        var at = tabOf(listId)
        if (at < 0)
            return
        tabModel.remove(at)
        if (listId !== mCurrentListId)
            return
        mCurrentListId = tabModel.count === 0 ? "" : tabModel.get(Math.min(at, tabModel.count - 1)).listId
    }
    function renameTab(listId, name) {
        var at = tabOf(listId)
        if (at >= 0)
            tabModel.setProperty(at, "tabName", name)
    }
    function clearTabs() {
        tabModel.clear()
        mCurrentListId = ""
    }
    function pageOf(listId) {
        for (var i = 0; i < pages.count; ++i) {
            var page = pages.itemAt(i)
            if (page && page.mListId === listId)
                return page
        }
        return null
    }

    ListModel {
        id: tabModel
    }
    ListView {
        id: tabBar
        objectName: "vexaTabBar"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        height: Math.max(1, root.mView.mTabHeight * root.mView.mHeightDp)
        orientation: ListView.Horizontal
        spacing: 1
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        interactive: contentWidth > width
        model: tabModel
        currentIndex: root.tabOf(root.mCurrentListId)
        highlightRangeMode: ListView.ApplyRange
        preferredHighlightBegin: 40 * root.mView.mWidthDp
        preferredHighlightEnd: width - 40 * root.mView.mWidthDp
        highlightMoveDuration: 0
        delegate: Rectangle {
            id: tab

            required property string listId
            required property string tabName
            readonly property bool checked: listId === root.mCurrentListId

            objectName: "vexaTab_" + listId
            width: Math.max(1, root.mView.mTabWidth * root.mView.mWidthDp)
            height: tabBar.height
            radius: 5 * root.mView.mWidthDp
            color: checked ? root.mView.mTabCheckedColor : root.mView.mTabColor

            RCText {
                anchors.fill: parent
                horizontalAlignment: Text.AlignHCenter
                verticalAlignment: Text.AlignVCenter
                elide: Text.ElideRight
                text: tab.tabName
                color: tab.checked ? root.mView.mTabTextCheckedColor : root.mView.mTabTextColor
                font.pixelSize: Math.max(1, root.mView.mTabTextSize * root.mView.mWidthDp)
            }
            MouseArea {
                anchors.fill: parent
                onClicked: root.mCurrentListId = tab.listId
            }
        }
    }
    Item {
        id: pageArea
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: tabBar.bottom
        anchors.topMargin: 10 * root.mView.mHeightDp
        anchors.bottom: parent.bottom

        Repeater {
            id: pages
            model: tabModel
            delegate: RCSceneItemVexaProgramList {
                required property string listId

                objectName: "vexaPage_" + listId
                anchors.fill: parent
                visible: listId === root.mCurrentListId
                mView: root.mView
                mKind: root.mKind
                mListId: listId
                onProgramTryPlay: (programListId, programId) => root.programTryPlay(programListId, programId)
                onProgramTryPause: (programListId, programId) => root.programTryPause(programListId, programId)
            }
        }
    }
}
