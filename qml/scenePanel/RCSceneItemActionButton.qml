import QtQuick

// A button that runs the action its item names: "ActionType" (read at the tap) with no data. The
// command buttons (type 1) send their "CmdType" with the parameters their item holds.
RCSceneItemButton {
    id: root

    onSig_itemClicked: triggerAction(Number(readProperty("ActionType", 0)) || 0, "")
}
