import QtQuick

// Stands in for the main window in the Quick tests: what the main window gives every view
// created inside it. Each test file makes it its root under the id the views use:
//     RCTestMainWindow { id: mainWindow; TestCase { ... } }
Item {
    id: root

    readonly property real dp: 1

    width: 1024
    height: 768

    // Centres a dialog (a popup of this window) in the window.
    function calDialogGeometry(dialog) {
        dialog.x = (root.width - dialog.width) / 2
        dialog.y = (root.height - dialog.height) / 2
    }
}
