import QtQuick
import Rc.IRCProject
import "../common"

// Switches between edit and control mode; reads "编辑模式" in control mode, else "控制模式".
RCMenuItem {
    id: root

    property IRCProject mProject: null
    property bool mIsControl: false

    text: mIsControl ? qsTr("编辑模式") : qsTr("控制模式")

    onMProjectChanged: {
        if (mProject)
            mIsControl = mProject.getAppModel() === IRCProject.EAppModel_Control
    }
    onTriggered: mProject.setAppModel(mIsControl ? IRCProject.EAppModel_Edit : IRCProject.EAppModel_Control)

    Connections {
        target: root.mProject
        function onAppModelChanged(appModel) {
            root.mIsControl = appModel === IRCProject.EAppModel_Control
        }
    }
}
