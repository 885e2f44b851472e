import QtQuick

// The blue veil over a selected view in edit mode; made by the view the first time it is
// selected, then kept.
Rectangle {
    id: root

    // The view it covers.
    required property Item mView

    anchors.fill: mView
    color: "blue"
    opacity: 0.3
    visible: mView.mInEditState && mView.mSelect
    objectName: "selectOverlay"
}
