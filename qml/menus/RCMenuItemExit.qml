import QtQuick
import "../common"

// "退出": closes the window as its close button does, so unsaved changes are offered for saving.
RCMenuItem {
    // The main window, which the entry closes.
    property var mWindow: null

    text: qsTr("退出")
    onTriggered: mWindow.close()
}
