import QtQuick

// The exit button: a tap closes the program the way the main window's close button does, which
// offers to save unsaved changes first.
RCSceneItemButton {
    id: root

    onSig_itemClicked: {
        if (mProject)
            mProject.requestClose()
    }
}
