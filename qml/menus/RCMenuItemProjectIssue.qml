import QtQuick
import "../common"
import "../projectIssue"

// "远程安装": saves the project first (its own hidden save entry) and, once that save succeeded,
// opens the dialog that installs the packet on another panel. A failed or cancelled save opens
// nothing.
RCMenuItem {
    id: root

    property bool isTriggered: false

    text: qsTr("远程安装")

    onTriggered: {
        isTriggered = true
        saveEntry.triggered()
    }
    RCMenuItemSaveProject {
        id: saveEntry
        visible: false
        mProject: project
        onSig_saveResult: res => {
            var wanted = root.isTriggered
            root.isTriggered = false
            if (res && wanted)
                issueDialog.open()
        }
    }
    RCProjectIssueViewDialog {
        id: issueDialog
        objectName: "projectIssueDialog"
    }
}
