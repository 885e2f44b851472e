import QtQuick

// The blue veil over a selected view in edit mode, filling its parent (the view). Made by the view
// the first time it is selected in edit mode, then kept; the view shows and hides it (no binding,
// as a band selects thousands of views at once).
Rectangle {
    objectName: "selectOverlay"
    anchors.fill: parent
    color: "blue"
    opacity: 0.3
}
