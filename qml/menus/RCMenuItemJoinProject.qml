import QtQuick
import "../common"
import Rc.RCMessageBoxManager
import Rc.IRCProject 1.0
import Rc.TavixProjectCloudClient 1.0

// "加入项目" opens the join dialog; once a cloud project is joined the entry reads "退出项目"
// and leaves it.
RCMenuItem {
    id: root

    property IRCProject mProject: null
    // The main window, which holds the join dialog; the cloud client that joins and leaves.
    property var mWindow: null
    property RCMessageBoxManager mMessageBoxManager: null
    property TavixProjectCloudClient mCloudClient: null
    property bool mJoined: mCloudClient ? mCloudClient.isJoinProject() : false

    text: mJoined ? qsTr("退出项目") : qsTr("加入项目")

    onTriggered: {
        if (mJoined) {
            mCloudClient.exitProject()
            return
        }
        var dialog = joinDialogComponent.createObject(mWindow.contentItem, {
                                                          "mProjectw": mProject,
                                                          "mMessageBoxManager": mMessageBoxManager,
                                                          "mCloudClient": mCloudClient
                                                      })
        dialog.open()
    }

    Connections {
        target: root.mCloudClient
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
