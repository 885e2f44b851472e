import QtQuick

// Links or unlinks the stage. While linked it shows "StageDislinkIconPath" (what a tap does),
// else "StageLinkIconPath".
RCSceneItemMirrorToggleButton {
    mStateKey: "StageLink"
    mOnIconKey: "StageDislinkIconPath"
    mOffIconKey: "StageLinkIconPath"
}
