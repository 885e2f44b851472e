import QtQuick

// Plays or pauses a track: while it plays the button shows "PauseIconPath" and a tap pauses it
// (state 2), otherwise "PlayIconPath" and a tap plays it (state 1).
RCSceneItemTrackButton {
    mIconKey: mState === 1 ? "PauseIconPath" : "PlayIconPath"

    onSig_itemClicked: sendState(mState === 1 ? 2 : 1)
}
