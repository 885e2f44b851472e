import QtQuick
import Rc.IRCAction 1.0

// A button that shows and flips one boolean global property of the media server: the state
// follows the mirror only (a tap asks the server, whose answer changes the state and the icon).
// The icon is the item's mOnIconKey while the state is true, else its mOffIconKey.
RCSceneItemButton {
    id: root

    // "DisplayOpen", "StageLink" or "Standby".
    property string mStateKey: ""
    property string mOnIconKey: ""
    property string mOffIconKey: ""
    property bool mState: false

    function readState() {
        var mirror = mStelvaneSyncer
        if (!mirror)
            return
        if (mStateKey === "DisplayOpen")
            mState = mirror.getVexaDisplayOutputState()
        else if (mStateKey === "StageLink")
            mState = mirror.getStageLink()
        else
            mState = Boolean(mirror.getGlobalProperty(mStateKey))
    }

    mIconKey: mState ? mOnIconKey : mOffIconKey

    onMStelvaneSyncerChanged: readState()
    onSig_itemClicked: {
        var data = {}
        data[mStateKey] = !mState
        triggerAction(IRCAction.EActionType_SetGlobalProperty, data)
    }

    Connections {
        target: root.mStelvaneSyncer
        function onGlobalPropertyChanged(sProName, value) {
            if (sProName === root.mStateKey)
                root.mState = Boolean(value)
        }
    }
}
