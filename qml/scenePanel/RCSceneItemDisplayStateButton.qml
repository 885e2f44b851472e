import QtQuick

// Opens or closes all displays. While they are open it shows "DisplayOpenIconPath" (in the
// catalogue, the picture of closing them), else "DisplayCloseIconPath".
RCSceneItemMirrorToggleButton {
    mStateKey: "DisplayOpen"
    mOnIconKey: "DisplayOpenIconPath"
    mOffIconKey: "DisplayCloseIconPath"
}
