import QtQuick
import Rc.IRCAction 1.0
import Rc.IRCStelvaneSyncer 1.0

// The link to the media server: a tap asks for the connect dialog, titled by the item's "Title"
// ("连接" for an item without one). The icon follows the mirror's connection state:
// "NetDislinkIconPath" while not connected, "NetDownloadIconPath" while connected and loading the
// server's data, "NetLinkIconPath" once loaded. With "StateInfoVisible" the server's address (or
// "未连接") stands beside the button.
RCSceneItemButton {
    id: root

    property int mState: IRCStelvaneSyncer.EState_Idel
    property string mServerIp: ""
    property bool mStateInfoVisible: false

    function readState() {
        if (!mStelvaneSyncer)
            return
        mState = mStelvaneSyncer.getState()
        mServerIp = mStelvaneSyncer.getServerIp()
    }

    mIconKey: mState === IRCStelvaneSyncer.EState_Connect ? "NetDownloadIconPath"
            : mState === IRCStelvaneSyncer.EState_ComplateDownload ? "NetLinkIconPath" : "NetDislinkIconPath"

    onMStelvaneSyncerChanged: readState()
    onSig_sceneItemChanged: mStateInfoVisible = Boolean(readProperty("StateInfoVisible", false))
    onSig_sceneItemPropertyChanged: (sProName, value) => {
        if (sProName === "StateInfoVisible")
            mStateInfoVisible = Boolean(value)
    }
    onSig_itemClicked: {
        var title = readProperty("Title", undefined)
        triggerAction(IRCAction.EActionType_ConnectNetwork, title === undefined ? qsTr("连接") : String(title))
    }

    Connections {
        target: root.mStelvaneSyncer
        function onConnectedToServer(sIp) {
            root.mState = IRCStelvaneSyncer.EState_Connect
            root.mServerIp = sIp
        }
        function onDisconnectFromServer() {
            root.mState = IRCStelvaneSyncer.EState_Idel
            root.mServerIp = ""
        }
        function onDownloadComplate() {
            root.mState = IRCStelvaneSyncer.EState_ComplateDownload
        }
    }
    RCSceneItemStateInfo {
        objectName: "stateInfo"
        visible: root.mStateInfoVisible
        text: root.mServerIp !== "" ? root.mServerIp : qsTr("未连接")
    }
}
