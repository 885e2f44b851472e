import QtQuick
import "../common"
import Rc.RCMessageBoxManager

// "关于": the program's version.
RCMenuItem {
    property RCMessageBoxManager mMessageBoxManager: null
    // The project file version the program writes.
    property string mFileVersion: ""

    text: qsTr("关于")
    onTriggered: mMessageBoxManager.showMessage(qsTr("关于"), qsTr("版本：") + mFileVersion, true, false)
}
