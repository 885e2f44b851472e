import QtQuick
import QtQuick.Window
import "qrc:/qml/common"

// Stands in for the main window in the Quick tests: what the main window gives every view
// created inside it. Each test file makes it its root under the id the views use:
//     RCTestMainWindow { id: mainWindow; TestCase { ... } }
// Tests of the window itself make the real one (qrc:/qml/main/RCMainWindow.qml).
Item {
    id: root

    readonly property Item contentItem: root
    property int visibility: Window.Windowed
    property var mProject: project
    // What checkNeedSaveProject answers, and the client it was last given.
    property bool mAskToSave: false
    property var mSaveQuestionClient: null
    // Whether a question about the open document is pending, as the views see it.
    property bool mDocumentBusy: false

    width: 1024
    height: 768

    // Centres a dialog (a popup of this window) in the window.
    function calDialogGeometry(dialog) {
        dialog.x = (root.width - dialog.width) / 2
        dialog.y = (root.height - dialog.height) / 2
    }
    function openInputDialog(sTitle, sPlaceholderText, sDefaultValue) {
        var dialog = inputDialogComponent.createObject(root, {
                                                           "mValue": sDefaultValue,
                                                           "mPlaceholderText": sPlaceholderText,
                                                           "mTitle": sTitle
                                                       })
        dialog.open()
        return dialog
    }
    function saveFlowOpenChanged(open) {}
    function checkNeedSaveProject(client) {
        mSaveQuestionClient = client
        return mAskToSave
    }

    Component {
        id: inputDialogComponent

        RCInputDialog {
            onClosed: destroy()
        }
    }
}
