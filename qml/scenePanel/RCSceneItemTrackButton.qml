import QtQuick
import Rc.IRCAction 1.0

// The base of the two track buttons: the state (0 stopped, 1 playing, 2 paused) of the mirrored
// track named by the item's "TrackName", read by name when the view gets its item or the mirror,
// when "TrackName" changes and whenever a track is added, inserted, renamed or removed (a name
// that no track bears reads as stopped); a change of that track's state, or of the item's own
// "State", sets it. sendState asks the server to put the track in a state; nothing happens for a
// name that no track bears.
RCSceneItemButton {
    id: root

    property int mState: 0
    property string mTrackName: ""

    function readTrackState() {
        var mirror = mStelvaneSyncer
        if (!mirror)
            return
        var state = mirror.getTrackPropertyByName(mTrackName, "State")
        mState = state === undefined || state === null ? 0 : Number(state) || 0
    }
    function isOwnTrack(trackId) {
        return mStelvaneSyncer && mStelvaneSyncer.getTrackProperty(trackId, "Name") === mTrackName
    }
    function sendState(state) {
        var id = mStelvaneSyncer ? mStelvaneSyncer.getTrackPropertyByName(mTrackName, "Id") : undefined
        if (id === undefined || id === null || String(id) === "")
            return
        triggerAction(IRCAction.EActionType_SetTrack, {"Id": String(id), "State": state})
    }

    onMStelvaneSyncerChanged: readTrackState()
    onSig_sceneItemChanged: {
        mTrackName = readText("TrackName", "")
        readTrackState()
    }
    onSig_sceneItemPropertyChanged: (sProName, value) => {
        if (sProName === "TrackName") {
            mTrackName = value === undefined || value === null ? "" : String(value)
            readTrackState()
        } else if (sProName === "State") {
            mState = Number(value) || 0
        }
    }

    Connections {
        target: root.mStelvaneSyncer
        function onTrackAdd(sId) {
            if (root.isOwnTrack(sId))
                root.readTrackState()
        }
        function onTrackInsert(sId, index) {
            if (root.isOwnTrack(sId))
                root.readTrackState()
        }
        // The track is gone already: read the state by name again.
        function onTrackRemove(sId) {
            root.readTrackState()
        }
        function onTrackPropertyChanged(sId, sProName, value) {
            if (sProName === "Name")
                root.readTrackState()
            else if (sProName === "State" && root.isOwnTrack(sId))
                root.mState = Number(value) || 0
        }
    }
}
