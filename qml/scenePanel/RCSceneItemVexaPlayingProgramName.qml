import QtQuick

// The name of the playing Vexa program of the item's kind, centred; "无节目播放" while none plays.
RCSceneItemVexaProgramText {
    mCentred: true
    mText: mTracker.mName !== "" ? mTracker.mName : qsTr("无节目播放")
}
