import QtQuick
import Rc.IRCAction 1.0

// Plays or pauses the current program (the one last reported playing or paused). The state is
// the current program's own, read from the mirror whenever the program table changes; 1 means
// playing: then it shows "PauseIconPath" and a tap pauses, else "PlayIconPath" and a tap plays.
RCSceneItemButton {
    id: root

    property int mState: 0

    function readState() {
        var mirror = mStelvaneSyncer
        if (!mirror)
            return
        var programId = mirror.getCurrentProgram()
        mState = programId !== "" ? mirror.getProgramState(programId) : 0
    }

    mIconKey: mState === 1 ? "PauseIconPath" : "PlayIconPath"

    onMStelvaneSyncerChanged: readState()
    onSig_itemClicked: triggerAction(mState === 1 ? IRCAction.EActionType_PauseCurrentProgram
                                                  : IRCAction.EActionType_PlayCurrentProgram, {})

    Connections {
        target: root.mStelvaneSyncer
        function onProgramCurrentChanged(sId, state) {
            root.readState()
        }
        function onProgramRemove(sId, index) {
            root.readState()
        }
        function onProgramTableUpdate() {
            root.readState()
        }
    }
}
