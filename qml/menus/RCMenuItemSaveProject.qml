import QtQuick
import "../common"
import Rc.IRCInterface
import Rc.RCMessageBoxManager
import Rc.IRCProject 1.0

// "保存": a project that has its own packet is saved at once (after a question when another
// program changed its project file since it was read or written); a new one (never saved, a template
// copy, a download from the media server, or the packet installed from a designer, which the next
// install replaces) asks for a name and folder first; missing pictures are named before either.
// sig_saveResult tells the real result (false also when the user gave up); a failed write says
// so and why.
RCMenuItem {
    id: root

    property IRCProject mProject: null
    // The main window, which holds the save dialog and writes the thumbnail.
    property var mWindow: null
    property RCMessageBoxManager mMessageBoxManager: null
    property IRCInterface mInterface: null
    readonly property alias mFlow: flow
    property alias mMessageBoxId: flow.mMessageBoxId
    property alias folderPath: flow.folderPath

    signal sig_saveResult(bool res)

    text: qsTr("保存")

    function reportFailure(res) {
        if (!res)
            mMessageBoxManager.showMessage(qsTr("提示"), flow.failureText(qsTr("保存失败")), true, false)
    }

    onTriggered: {
        if (flow.mBusy)
            return
        flow.checkPictures(function () {
            if (root.mProject.isNewProject()) {
                flow.openDialog("")
                return
            }
            flow.folderPath = root.mProject.getProjectPacketPath()
            flow.saveInPlace()
        })
    }

    RCSaveFlow {
        id: flow
        mProject: root.mProject
        mWindow: root.mWindow
        mMessageBoxManager: root.mMessageBoxManager
        mInterface: root.mInterface
        mTitle: qsTr("保存")
        onFinished: (res, cancelled) => {
            if (!cancelled)
                root.reportFailure(res)
            root.sig_saveResult(res)
        }
        onDialogClosed: root.sig_saveResult(false)
        onPicturesDeclined: root.sig_saveResult(false)
    }
}
