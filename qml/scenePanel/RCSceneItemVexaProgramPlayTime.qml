import QtQuick
import "RCPlayTime.js" as PlayTime

// The time the playing Vexa program of the item's kind has played ("hh:mm:ss").
RCSceneItemVexaProgramText {
    mText: mInterface.msecToString(PlayTime.wholeMs(mTracker.mProgress))
}
