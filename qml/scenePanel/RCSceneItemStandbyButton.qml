import QtQuick

// Puts the media server in or out of stand-by. In stand-by it shows "StandbyIconPath", else
// "ExecuteIconPath".
RCSceneItemMirrorToggleButton {
    mStateKey: "Standby"
    mOnIconKey: "StandbyIconPath"
    mOffIconKey: "ExecuteIconPath"
}
