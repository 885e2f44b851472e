import QtQuick

// Stops a track: "StopIconPath" while it is stopped, "RunIconPath" while it plays or is paused.
RCSceneItemTrackButton {
    mIconKey: mState === 0 ? "StopIconPath" : "RunIconPath"

    onSig_itemClicked: sendState(0)
}
