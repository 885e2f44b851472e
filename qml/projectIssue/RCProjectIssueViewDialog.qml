pragma ComponentBehavior: Bound

import QtQuick
import Rc.IRCProject 1.0

// Holder of the designer's install popup (the menu entry "远程安装"): open() shows a fresh
// RCProjectIssueView with the keyboard in its address field, dropping one that is still there;
// the view's close (also Escape), or close(), ends it. The popup is shown on the main window
// (mWindow), whatever holds this holder: a menu entry is in no window once its menu has closed,
// which it has when a question before the install was answered.
Item {
    id: root

    property var mPopup: null
    // The open project, handed to the view.
    property IRCProject mProject: null
    // The main window, on which the popup is centred.
    property var mWindow: null

    function open() {
        close()
        mPopup = popupComponent.createObject(root, {"parent": mWindow.contentItem})
        mPopup.open()
    }
    function close() {
        if (!mPopup)
            return
        var popup = mPopup
        mPopup = null
        // The server goes and the terminal comes back now, not when the popup is deleted, so a
        // new view made next finds the instance as it expects.
        popup.mView.release()
        popup.close()
        popup.destroy()
    }
    // The open view, or null.
    function view() {
        return mPopup ? mPopup.mView : null
    }

    Component {
        id: popupComponent

        RCProjectIssuePopup {
            property alias mView: issueView

            focus: true
            onOpened: issueView.focusInput()

            RCProjectIssueView {
                id: issueView
                objectName: "projectIssueView"
                mProject: root.mProject
                onSig_close: root.close()
            }
        }
    }
}
