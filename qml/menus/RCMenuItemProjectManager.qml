pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls.Basic
import "../common"
import "../projectManagerPanel"
import Rc.IRCInterface
import Rc.RCMessageBoxManager
import Rc.IRCProject 1.0

// "打开或新建": the project manager over the window's body. With unsaved changes the entry first
// asks for them to be saved (sig_needSaveProject; the layout asks the main window) and opens
// only once they were saved or the user chose not to (saveSettled(true)).
RCMenuItem {
    id: root

    property IRCProject mProject: null
    // The main window, under whose title bar the page opens, and the page's services.
    property var mWindow: null
    property RCMessageBoxManager mMessageBoxManager: null
    property IRCInterface mInterface: null
    property string mFileVersion: ""
    property bool mNeedFocusSaveResult: false
    property var mOverlay: null

    signal sig_needSaveProject

    text: qsTr("打开或新建")

    function openDialog() {
        if (mOverlay)
            return
        mOverlay = overlayComponent.createObject(mWindow.contentItem)
        mOverlay.open()
    }
    // The save question that this entry asked was settled; proceed: saved or not wanted.
    function saveSettled(proceed) {
        if (!mNeedFocusSaveResult)
            return
        mNeedFocusSaveResult = false
        if (proceed)
            openDialog()
    }

    onTriggered: {
        if (mProject.hasChangedOnClosing()) {
            mNeedFocusSaveResult = true
            sig_needSaveProject()
        } else {
            mNeedFocusSaveResult = false
            openDialog()
        }
    }

    Component {
        id: overlayComponent

        Popup {
            id: overlay

            y: root.mWindow.mTitleBarHeight || 0
            width: root.mWindow.width
            height: root.mWindow.height - y
            padding: 0
            closePolicy: Popup.NoAutoClose
            background: Item {}

            onClosed: {
                root.mOverlay = null
                destroy()
            }

            contentItem: RCProjectManagerViewTotal {
                objectName: "projectManagerOverlay"
                mProject: root.mProject
                mWindow: root.mWindow
                mMessageBoxManager: root.mMessageBoxManager
                mInterface: root.mInterface
                mFileVersion: root.mFileVersion
                buttonCancelVisible: true
                Component.onCompleted: flushProjectManagerView()
                onSig_successOpenProject: overlay.close()
                onSig_buttonCancelClicked: overlay.close()
            }
        }
    }
}
