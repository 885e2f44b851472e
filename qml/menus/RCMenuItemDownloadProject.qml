import QtQuick
import "../common"

// "添加Mirel场景": fetches the media server's project in a popup made once.
RCMenuItem {
    id: root

    property var mProject: null
    property var mPopup: null

    text: qsTr("添加Mirel场景")

    Component.onDestruction: {
        if (mPopup)
            mPopup.destroy()
    }
    onTriggered: {
        // Made on the first use, then kept for the next ones.
        if (!mPopup)
            mPopup = popupComponent.createObject(mainWindow.contentItem)
        mainWindow.calDialogGeometry(mPopup)
        mPopup.mView.mProject = mProject
        mPopup.mView.restore()
        mPopup.open()
    }

    Component {
        id: popupComponent

        RCFormDialog {
            id: downloadPopup

            property alias mView: view

            mTitle: qsTr("下载")

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
