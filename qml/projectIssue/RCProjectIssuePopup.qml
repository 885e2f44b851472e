import QtQuick
import QtQuick.Controls.Basic

// The modal popup of the two project-issue holders: as large as the view it holds (the view's
// implicit size), no margins or padding, closed only by the view, centred on the main window:
// the holder makes it with the window's overlay as parent.
Popup {
    id: root

    modal: true
    closePolicy: Popup.NoAutoClose
    padding: 0
    margins: 0
    background: Item {}
    anchors.centerIn: parent
}
