import QtQuick
import "../common"

// "关于": the program's version.
RCMenuItem {
    text: qsTr("关于")
    onTriggered: getRCMessageBoxManager.showMessage(qsTr("关于"), qsTr("版本：") + getVersion, true, false)
}
