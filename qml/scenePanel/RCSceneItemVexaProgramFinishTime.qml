import QtQuick
import "RCPlayTime.js" as PlayTime

// The time left of the playing Vexa program of the item's kind ("hh:mm:ss", never below zero).
RCSceneItemVexaProgramText {
    mText: mInterface.msecToString(PlayTime.wholeMs(mTracker.mLength - mTracker.mProgress))
}
