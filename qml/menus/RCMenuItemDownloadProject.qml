import QtQuick
import "../common"
import Rc.IRCInterface
import Rc.IRCProject 1.0

// "添加Mirel场景": fetches the media server's project in a popup made on first use and kept.
RCMenuItem {
    id: root

    property IRCProject mProject: null
    // The main window, which holds the popup; the name checks for the downloaded project.
    property var mWindow: null
    property IRCInterface mInterface: null
    property var mPopup: null

    text: qsTr("添加Mirel场景")

    Component.onDestruction: {
        if (mPopup)
            mPopup.destroy()
    }
    onTriggered: {
        if (!mPopup)
            mPopup = popupComponent.createObject(mWindow.contentItem)
        mPopup.mView.mProject = mProject
        mPopup.mView.mWindow = mWindow
        mPopup.mView.mInterface = mInterface
        mPopup.mView.restore()
        mPopup.open()
    }

    Component {
        id: popupComponent

        RCFormDialog {
            id: downloadPopup

            property alias mView: view

            mTitle: qsTr("下载")

            // A request still out when the popup goes (取消, the cross) is given up.
            onClosed: view.giveUp(qsTr("下载已取消"))

            RCDownloadProjectView {
                id: view
                objectName: "downloadProjectView"
                anchors.fill: parent
                onSig_cancel: downloadPopup.close()
                onSig_downloadComplete: downloadPopup.close()
            }
        }
    }
}
