import QtQuick
import "../common"

// "加入项目" opens the join dialog; once a cloud project is joined the entry reads "退出项目"
// and leaves it.
RCMenuItem {
    id: root

    property bool mJoined: tavixProjectCloudClient.isJoinProject()

    text: mJoined ? qsTr("退出项目") : qsTr("加入项目")

    onTriggered: {
        if (mJoined) {
            tavixProjectCloudClient.exitProject()
            return
        }
        var dialog = joinDialogComponent.createObject(mainWindow.contentItem)
        dialog.open()
    }

    Connections {
        target: tavixProjectCloudClient
        function onJoinSuccess(projectUid) {
            root.mJoined = true
        }
        function onExitSuccess() {
            root.mJoined = false
        }
    }
    Component {
        id: joinDialogComponent

        RCDialogJoinProject {
            onClosed: destroy()
        }
    }
}
