import QtQuick
import Rc.IRCStelvaneSyncer
import Rc.IRCProject 1.0
import Rc.IRCSetting 1.0
import Rc.IRCTerminal 1.0
import Rc.TavixProjectCloudClient 1.0

// The bar at the top of each mode layout: the media-server connection pill (a click opens the
// connect dialog), the server's address, and in the middle the project's name with the cloud
// project it has joined. The layout puts its own buttons at the right. Only a panel that is
// shown opens the connect dialog when the server asks for a password, so one dialog asks; the
// layout's scene canvas opens the same dialog (openConnectDialog with its item's title), and an
// ask while it is open only shows the password row there.
// mWindow is the main window, which holds and centres the dialog; mCloudClient the cloud client.
Rectangle {
    id: root

    property int mSyncerState: IRCStelvaneSyncer.EState_Idel
    property string mConnectIp: ""
    property string mDefaultIp: ""
    property IRCTerminal mTerminal: null
    property IRCStelvaneSyncer mStelvaneSyncer: null
    property IRCProject mProject: null
    property var mWindow: null
    property TavixProjectCloudClient mCloudClient: null
    property IRCSetting mSetting: null
    property string mProjectName: ""
    property string mJoinProjectName: qsTr("未加入")
    property var mIpInputDlg: null
    // Where the layout's own buttons begin at the right; the centred title stays clear of them.
    property real mTitleRightLimit: width

    height: 40 * RCUnits.dp
    color: "black"

    // Opens the connect dialog titled sTitle, with the default title when none is given.
    function openConnectDialog(sTitle) {
        if (!mIpInputDlg) {
            var holder = mWindow.contentItem ? mWindow.contentItem : mWindow
            mIpInputDlg = connectDialogComponent.createObject(holder, {
                                                                  "mSetting": root.mSetting,
                                                                  "mStelvaneSyncer": root.mStelvaneSyncer,
                                                                  "mTerminal": root.mTerminal
                                                              })
        }
        mIpInputDlg.mTitle = sTitle === undefined ? qsTr("连接(只支持最新版mirel)") : sTitle
        mWindow.calDialogGeometry(mIpInputDlg)
        mIpInputDlg.open()
    }
    function pillColor(state) {
        if (state === IRCStelvaneSyncer.EState_Connect)
            return "#2F4F4F"
        if (state === IRCStelvaneSyncer.EState_ComplateDownload)
            return "#7caa33"
        return "#aa0428"
    }
    function pillText(state) {
        if (state === IRCStelvaneSyncer.EState_Connect)
            return qsTr("加载中")
        if (state === IRCStelvaneSyncer.EState_ComplateDownload)
            return qsTr("已连接")
        return qsTr("未连接")
    }
    function readJoinedProject() {
        if (mCloudClient && mCloudClient.isJoinProject())
            mJoinProjectName = mCloudClient.getProjectUid()
    }

    onMProjectChanged: {
        if (!mProject)
            return
        mProjectName = mProject.getProjectName()
        mStelvaneSyncer = mProject.getStelvaneSyncer()
        mSetting = mProject.getSetting()
    }
    onMStelvaneSyncerChanged: {
        if (!mStelvaneSyncer)
            return
        mConnectIp = mStelvaneSyncer.getServerIp()
        mSyncerState = mStelvaneSyncer.getState()
    }
    onMSettingChanged: {
        if (!mSetting)
            return
        var ip = mSetting.getValue("DefaultIp")
        mDefaultIp = ip === undefined || ip === null ? "" : String(ip)
    }
    onMCloudClientChanged: readJoinedProject()
    Component.onCompleted: readJoinedProject()

    Connections {
        target: root.mStelvaneSyncer
        function onConnectedToServer(sIp) {
            root.mConnectIp = sIp
            root.mSyncerState = IRCStelvaneSyncer.EState_Connect
        }
        function onDisconnectFromServer() {
            root.mConnectIp = ""
            root.mSyncerState = IRCStelvaneSyncer.EState_Idel
        }
        function onDownloadComplate() {
            root.mSyncerState = IRCStelvaneSyncer.EState_ComplateDownload
        }
        // A dialog made here joins the syncer after this ask went out, so it is handed the ask.
        function onConnectVerifyAsk() {
            if (!root.visible)
                return
            if (!root.mIpInputDlg || !root.mIpInputDlg.opened)
                root.openConnectDialog()
            root.mIpInputDlg.askPassword()
        }
    }
    Connections {
        target: root.mCloudClient
        function onJoinSuccess(projectUid) {
            root.mJoinProjectName = projectUid
        }
        function onExitSuccess() {
            root.mJoinProjectName = qsTr("未加入")
        }
    }
    Connections {
        target: root.mProject
        function onCurrentProjectChanged(sProjectName) {
            root.mProjectName = sProjectName
        }
    }
    Connections {
        target: root.mSetting
        function onSettingValueChanged(sSettingName, settingValue) {
            if (sSettingName === "DefaultIp")
                root.mDefaultIp = settingValue === undefined || settingValue === null ? "" : String(settingValue)
        }
    }
    Component {
        id: connectDialogComponent

        RCConnectDialog {}
    }

    Rectangle {
        id: pill
        objectName: "connectionPill"
        x: 20 * RCUnits.dp
        anchors.verticalCenter: parent.verticalCenter
        width: 70 * RCUnits.dp
        height: 30 * RCUnits.dp
        radius: height / 2
        color: root.pillColor(root.mSyncerState)

        RCText {
            objectName: "connectionText"
            anchors.centerIn: parent
            text: root.pillText(root.mSyncerState)
            color: "white"
            font.pixelSize: 14 * RCUnits.dp
        }
        MouseArea {
            anchors.fill: parent
            onClicked: root.openConnectDialog(undefined)
        }
    }
    RCText {
        id: addressText
        objectName: "serverAddress"
        anchors.left: pill.right
        anchors.leftMargin: 5 * RCUnits.dp
        anchors.verticalCenter: parent.verticalCenter
        text: root.mDefaultIp !== "" ? root.mDefaultIp : root.mConnectIp
        color: "white"
        font.pixelSize: 14 * RCUnits.dp
    }
    RCText {
        // Centred in the panel while it fits there, else moved towards the side with room; elided
        // only when the whole space between the address and the buttons is too small.
        readonly property real mLeftLimit: addressText.x + addressText.width + 10 * RCUnits.dp
        readonly property real mRightLimit: root.mTitleRightLimit - 10 * RCUnits.dp

        objectName: "projectTitle"
        anchors.verticalCenter: parent.verticalCenter
        width: Math.max(0, Math.min(implicitWidth, mRightLimit - mLeftLimit))
        x: Math.max(mLeftLimit, Math.min(mRightLimit - width, (parent.width - width) / 2))
        text: root.mProjectName + qsTr("(项目:") + root.mJoinProjectName + ")"
        color: "white"
        font.pixelSize: addressText.font.pixelSize * 1.5
        elide: Text.ElideMiddle
    }
}
