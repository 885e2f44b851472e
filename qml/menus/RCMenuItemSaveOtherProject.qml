import QtQuick
import "../common"
import Rc.IRCInterface
import Rc.RCMessageBoxManager
import Rc.IRCProject 1.0

// "另存为和打开": saves the project into a new folder and goes on with it there. Every answer of
// the save dialog says "另存为成功" or "另存为失败", after the real write; declining to save without
// missing pictures tries nothing and says nothing. A project without a packet of its own (a
// template copy, a download) starts without a folder, as "保存" does.
RCMenuItem {
    id: root

    property IRCProject mProject: null
    // The main window, which holds the save dialog and writes the thumbnail.
    property var mWindow: null
    property RCMessageBoxManager mMessageBoxManager: null
    property IRCInterface mInterface: null
    readonly property alias mFlow: flow

    signal sig_saveAsResult(bool res)

    text: qsTr("另存为和打开")

    onTriggered: {
        if (flow.mBusy)
            return
        flow.checkPictures(function () {
            flow.openDialog(root.mProject.isNewProject() ? "" : root.mProject.getProjectPacketPath())
        })
    }

    RCSaveFlow {
        id: flow
        mProject: root.mProject
        mWindow: root.mWindow
        mMessageBoxManager: root.mMessageBoxManager
        mInterface: root.mInterface
        mTitle: qsTr("另存为")
        mEmptyPathLog: "Error: save as path is null."
        onFinished: (res, cancelled) => {
            var text = res ? qsTr("另存为成功") : cancelled ? qsTr("另存为失败") : flow.failureText(qsTr("另存为失败"))
            root.mMessageBoxManager.showMessage(qsTr("提示"), text, true, false)
            root.sig_saveAsResult(res)
        }
        onDialogClosed: root.sig_saveAsResult(false)
        onPicturesDeclined: root.sig_saveAsResult(false)
    }
}
