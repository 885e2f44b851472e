import QtQuick
import Rc.IRCAction 1.0

// Joins or leaves the cloud project. While this panel is joined it shows "JoinProjectIconPath"
// and a tap leaves the project (no action); otherwise "ExitProjectIconPath" and a tap asks for the
// join dialog. With "StateInfoVisible" the joined project's id (or "未加入") stands beside it.
RCSceneItemButton {
    id: root

    property bool mJoined: false
    property string mProjectUid: ""
    property bool mStateInfoVisible: false

    function readJoin() {
        mJoined = mCloudClient.isJoinProject()
        mProjectUid = mJoined ? mCloudClient.getProjectUid() : ""
    }

    mIconKey: mJoined ? "JoinProjectIconPath" : "ExitProjectIconPath"

    onSig_sceneItemChanged: mStateInfoVisible = Boolean(readProperty("StateInfoVisible", false))
    onSig_sceneItemPropertyChanged: (sProName, value) => {
        if (sProName === "StateInfoVisible")
            mStateInfoVisible = Boolean(value)
    }
    onSig_itemClicked: {
        if (mCloudClient.isJoinProject())
            mCloudClient.exitProject()
        else
            triggerAction(IRCAction.EActionType_JoinProject, "")
    }
    Component.onCompleted: readJoin()

    Connections {
        target: root.mCloudClient
        function onJoinSuccess(projectUid) {
            root.mJoined = true
            root.mProjectUid = projectUid
        }
        function onExitSuccess() {
            root.readJoin()
        }
        function onJoinError(error) {
            root.readJoin()
        }
    }
    RCSceneItemStateInfo {
        objectName: "stateInfo"
        visible: root.mStateInfoVisible
        text: root.mProjectUid !== "" ? root.mProjectUid : qsTr("未加入")
    }
}
