import QtQuick
import QtQuick.Controls.Basic
import "../common"

// The system menu of both mode layouts. The project manager entry asks the main window's save
// question first when there are unsaved changes.
Menu {
    id: root

    property var mProject: null
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
        onSig_needSaveProject: {
            if (!mainWindow.checkNeedSaveProject(projectManagerEntry))
                saveSettled(!root.mProject.hasChangedOnClosing())
        }
    }
    RCMenuItemDownloadProject {
        objectName: "menuDownloadProject"
        mProject: root.mProject
    }
    RCMenuItemProjectIssue {
        objectName: "menuProjectIssue"
    }
    RCMenuItemSaveProject {
        id: saveEntry
        objectName: "menuSaveProject"
        mProject: root.mProject
    }
    RCMenuItemSaveOtherProject {
        objectName: "menuSaveOtherProject"
        mProject: root.mProject
    }
    RCMenuItemJoinProject {
        objectName: "menuJoinProject"
    }
    RCMenuItemAbout {
        objectName: "menuAbout"
    }
    RCMenuItemExit {
        objectName: "menuExit"
    }
}
