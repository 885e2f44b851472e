import QtQuick
import QtQuick.Controls.Basic

// A modal message box on the main window, closed only by its buttons or its header cross. Each
// button first closes the box, then reports: OK accepted(), cancel rejected(), close and the
// cross onlyClosed(). The box stays centred on its parent (the main window's content).
Popup {
    id: root

    // The message-box broker's id of the message shown, for the window that shows it.
    property string mId: ""
    property string text: qsTr("一个消息框")
    property string title: qsTr("提示")
    property bool okButtonVisible: true
    property bool cancelButtonVisible: true
    property bool closeButtonVisible: true

    width: view.width
    height: view.height
    anchors.centerIn: parent
    modal: true
    closePolicy: Popup.NoAutoClose
    padding: 0
    margins: 0
    background: Item {}

    signal accepted
    signal rejected
    signal onlyClosed

    // Each non-empty text replaces that button's text.
    function setButtonText(ok, cancel, close) {
        if (ok)
            view.mOkButtonText = ok
        if (cancel)
            view.mCancelButtonText = cancel
        if (close)
            view.mCloseButtonText = close
    }


    contentItem: Item {
        RCMessageView {
            id: view
            objectName: "messageView"
            mTitle: root.title
            mMessage: root.text
            mOkButtonVisible: root.okButtonVisible
            mCancelButtonVisible: root.cancelButtonVisible
            mCloseButtonVisible: root.closeButtonVisible
            onSig_accpet: {
                root.close()
                root.accepted()
            }
            onSig_cancel: {
                root.close()
                root.rejected()
            }
            onSig_close: {
                root.close()
                root.onlyClosed()
            }
        }
    }
}
