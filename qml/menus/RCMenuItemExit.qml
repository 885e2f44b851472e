import QtQuick
import "../common"

// "退出": closes the window as its close button does, so unsaved changes are offered for saving.
RCMenuItem {
    text: qsTr("退出")
    onTriggered: mainWindow.close()
}
