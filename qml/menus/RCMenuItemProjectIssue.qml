import QtQuick
import "../common"

// "远程安装": saves the project first (its own hidden save entry) and, once that save succeeded,
// opens the dialog that installs the packet on another panel. A failed or cancelled save opens
// nothing.
RCMenuItem {
    id: root

    property bool isTriggered: false
    property var mIssueDialog: null

    text: qsTr("远程安装")

    function openIssueDialog() {
        if (!mIssueDialog)
            mIssueDialog = mainWindow.createOptional("qrc:/qml/projectIssue/RCProjectIssueViewDialog.qml",
                                                     mainWindow.contentItem, {})
        if (mIssueDialog)
            mIssueDialog.open()
    }

    onTriggered: {
        isTriggered = true
        saveEntry.triggered()
    }
    Component.onDestruction: {
        if (mIssueDialog)
            mIssueDialog.destroy()
    }

    RCMenuItemSaveProject {
        id: saveEntry
        visible: false
        mProject: project
        onSig_saveResult: res => {
            var wanted = root.isTriggered
            root.isTriggered = false
            if (res && wanted)
                root.openIssueDialog()
        }
    }
}
