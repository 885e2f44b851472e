import QtQuick
import QtQuick.Controls.Basic
import "../common"
import Rc.IRCInterface
import Rc.RCMessageBoxManager
import Rc.IRCProject 1.0
import Rc.TavixProjectCloudClient 1.0

// The system menu of both mode layouts. The project manager entry asks the main window's save
// question first when there are unsaved changes. The main window (mWindow) and the services the
// entries use are handed in by the layout.
Menu {
    id: root

    property IRCProject mProject: null
    property var mWindow: null
    property RCMessageBoxManager mMessageBoxManager: null
    property IRCInterface mInterface: null
    property TavixProjectCloudClient mCloudClient: null
    property string mFileVersion: ""
    readonly property alias mSaveEntry: saveEntry
    readonly property alias mProjectManagerEntry: projectManagerEntry

    width: 150 * RCUnits.dp
    padding: 0
    background: Rectangle {
        color: "black"
    }

    // Opens the menu under the item at its right edge.
    function popupUnder(item) {
        var corner = item.mapToItem(parent, item.width - width, item.height)
        popup(corner.x, corner.y)
    }

    RCMenuItemSwitchAppModel {
        objectName: "menuSwitchAppModel"
        mProject: root.mProject
    }
    RCMenuItemProjectManager {
        id: projectManagerEntry
        objectName: "menuProjectManager"
        mProject: root.mProject
        mWindow: root.mWindow
        mMessageBoxManager: root.mMessageBoxManager
        mInterface: root.mInterface
        mFileVersion: root.mFileVersion
        onSig_needSaveProject: {
            if (!root.mWindow.checkNeedSaveProject(projectManagerEntry))
                saveSettled(!root.mProject.hasChangedOnClosing())
        }
    }
    RCMenuItemDownloadProject {
        objectName: "menuDownloadProject"
        mProject: root.mProject
        mWindow: root.mWindow
        mInterface: root.mInterface
    }
    RCMenuItemProjectIssue {
        objectName: "menuProjectIssue"
        mProject: root.mProject
        mWindow: root.mWindow
        mMessageBoxManager: root.mMessageBoxManager
        mInterface: root.mInterface
    }
    RCMenuItemSaveProject {
        id: saveEntry
        objectName: "menuSaveProject"
        mProject: root.mProject
        mWindow: root.mWindow
        mMessageBoxManager: root.mMessageBoxManager
        mInterface: root.mInterface
    }
    RCMenuItemSaveOtherProject {
        objectName: "menuSaveOtherProject"
        mProject: root.mProject
        mWindow: root.mWindow
        mMessageBoxManager: root.mMessageBoxManager
        mInterface: root.mInterface
    }
    RCMenuItemJoinProject {
        objectName: "menuJoinProject"
        mProject: root.mProject
        mWindow: root.mWindow
        mMessageBoxManager: root.mMessageBoxManager
        mCloudClient: root.mCloudClient
    }
    RCMenuItemAbout {
        objectName: "menuAbout"
        mMessageBoxManager: root.mMessageBoxManager
        mFileVersion: root.mFileVersion
    }
    RCMenuItemExit {
        objectName: "menuExit"
        mWindow: root.mWindow
    }
}
