import QtQuick
import "../common"
import "../projectIssue"
import Rc.IRCInterface
import Rc.RCMessageBoxManager
import Rc.IRCProject 1.0

// "远程安装": saves the project first (its own hidden save entry) and, once that save succeeded,
// opens the dialog that installs the packet on another panel, on the main window, also after a
// question or the save dialog (the menu has closed by then). A failed or cancelled save opens
// nothing.
RCMenuItem {
    id: root

    property bool isTriggered: false
    property IRCProject mProject: null
    // The main window and the services of the hidden save entry.
    property var mWindow: null
    property RCMessageBoxManager mMessageBoxManager: null
    property IRCInterface mInterface: null
    readonly property alias mSaveEntry: saveEntry
    readonly property alias mIssueDialog: issueDialog

    text: qsTr("远程安装")

    onTriggered: {
        isTriggered = true
        saveEntry.triggered()
    }
    RCMenuItemSaveProject {
        id: saveEntry
        visible: false
        mProject: root.mProject
        mWindow: root.mWindow
        mMessageBoxManager: root.mMessageBoxManager
        mInterface: root.mInterface
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
        mProject: root.mProject
        mWindow: root.mWindow
    }
}
