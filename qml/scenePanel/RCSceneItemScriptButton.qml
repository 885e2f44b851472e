import QtQuick
import Rc.IRCAction 1.0
import Rc.RCScriptProcess 1.0

// Runs the item's "Script" on a runner of its own (one per view; a tap while it runs is dropped):
// each "执行" statement runs the named item of the named scene as if tapped. Shows
// "ScriptBusyingIconPath" while the script runs, else "ScriptNoBusyingIconPath". The runner ends
// with the view; a wait in progress is cut short.
RCSceneItemButton {
    id: root

    property bool mBusy: false
    property RCScriptProcess mRunner: RCScriptProcess {
        onBusyingChanged: busying => root.mBusy = busying
        onSceneItemExcute: (sceneName, sceneItemName) => root.triggerAction(
                               IRCAction.EActionType_ExcuteOtherSceneItem,
                               {"SceneName": sceneName, "SceneItemName": sceneItemName})
    }

    mIconKey: mBusy ? "ScriptBusyingIconPath" : "ScriptNoBusyingIconPath"

    onSig_itemClicked: mRunner.excute(readText("Script", ""))
}
