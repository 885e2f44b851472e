pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Templates as T
import Rc.IRCProject 1.0

// Holder of the panel's install popup, opened by the main window on each invitation. A popup
// already there is reused: its view goes back to the question (the designer's link is shared, so
// dropping the old view must not end it). The view's close, or close(), ends the popup and the
// link to the designer; closed at the question, it also turns that designer down
// (IRCPacketTerminal::declineInvitation). An offer withdrawn before the user answered closes the
// popup without a word.
//
// saveBeforeInstall(): the user accepted while the open project has unsaved changes. The window
// asks about saving and then calls proceedInstall() to receive, or close() to give up.
Item {
    id: root

    property var mPopup: null
    // The project that receives the packet, handed to the view.
    property IRCProject mProject: null

    signal saveBeforeInstall

    function open() {
        if (mPopup) {
            mPopup.mView.reset()
            if (!mPopup.visible)
                mPopup.open()
            return
        }
        mPopup = popupComponent.createObject(root, {"parent": T.Overlay.overlay})
        mPopup.open()
    }
    function close() {
        if (!mPopup)
            return
        var popup = mPopup
        mPopup = null
        popup.mView.release()
        popup.close()
        popup.destroy()
    }
    function proceedInstall() {
        if (mPopup)
            mPopup.mView.proceedInstall()
    }
    // The open view, or null.
    function view() {
        return mPopup ? mPopup.mView : null
    }

    Component {
        id: popupComponent

        RCProjectIssuePopup {
            property alias mView: downloadView

            RCProjectDownloadView {
                id: downloadView
                objectName: "projectDownloadView"
                mProject: root.mProject
                onSig_close: {
                    // Closed at the question: the user turned the designer down.
                    if (downloadView.mVisibleViewName === "setupConfirmView" && downloadView.mPacketTerminal)
                        downloadView.mPacketTerminal.declineInvitation()
                    root.close()
                }
                onSig_saveBeforeInstall: root.saveBeforeInstall()
                onSig_withdrawn: root.close()
            }
        }
    }
}
