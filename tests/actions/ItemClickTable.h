#pragma once

// What a click on each kind of scene item sends, with the mirror idle or busy: the table the item
// executor is checked against here, and the QML button views in tests/qml (tst_sceneButtons.qml,
// through ServerPeers).

#include "mirror/IRCStelvaneSyncer.h"
#include "model/IRCControl.h"
#include "model/RCKeys.h"

#include <QList>
#include <QString>
#include <QVariantMap>

namespace ItemClickTable {

enum class Mirror
{
    Idle,
    // A current program playing, displays open, stage linked, stand-by on, track "A" playing.
    Busy
};

struct Row
{
    const char* name;
    int kind;
    QVariantMap properties;
    Mirror mirror;
    // The commands that reach the control link, "name {compact JSON}", in order.
    QStringList sent;
    // Whether the click asks the application to close.
    bool closes = false;
};

inline void prepare(IRCStelvaneSyncer& mirror, Mirror state)
{
    mirror.addTrack({{RCKeys::Id(), "t1"}, {RCKeys::Name(), "A"}, {RCKeys::State(), 0}});
    mirror.addTrack({{RCKeys::Id(), "t3"}, {RCKeys::Name(), "C"}, {RCKeys::State(), 0}});
    mirror.addProgram({{RCKeys::Id(), "p1"}, {RCKeys::State(), 0}});
    if (state == Mirror::Idle)
        return;
    mirror.setProgramState("p1", 1);
    mirror.setTrackProperty("t1", RCKeys::State(), 1);
    mirror.setVexaDisplayOutputState(true);
    mirror.setStageLink(true);
    mirror.setGlobalProperty(RCKeys::Standby(), true);
}

inline QList<Row> rows()
{
    using K = IRCControl::EIRCControlType;
    using M = Mirror;
    return {
        {"action button", K::EIRCControlType_PlayPre, {}, M::Idle, {"playPreProgram {}"}},
        {"stop all", K::EIRCControlType_StopAllProgram, {}, M::Busy, {"stopAllProgram {}"}},
        {"custom command",
         K::EIRCControlType_Custom,
         {{"CustomCmdToIp", "10.1.2.3"}, {"CustomCmdToPort", 9000}, {"CustomCmd", "go"}},
         M::Idle,
         {R"(customCmd {"cmd":"go","ip":"10.1.2.3","port":9000,"tcpOrUdp":0})"}},
        {"action button with a property",
         K::EIRCControlType_FastBack,
         {{"Sec", 1.5}},
         M::Idle,
         {R"(fastBackCurrentProgram {"sec":1.5})"}},
        {"current program idle",
         K::EIRCControlType_CurrentProgramState,
         {},
         M::Idle,
         {"playCurrentProgram {}"}},
        {"current program playing",
         K::EIRCControlType_CurrentProgramState,
         {},
         M::Busy,
         {"pauseCurrentProgram {}"}},
        {"displays closed",
         K::EIRCControlType_DisplayState,
         {},
         M::Idle,
         {R"(setGlobalProperty {"displayOutputState":true})"}},
        {"displays open",
         K::EIRCControlType_DisplayState,
         {},
         M::Busy,
         {R"(setGlobalProperty {"displayOutputState":false})"}},
        {"stage unlinked",
         K::EIRCControlType_StageLink,
         {},
         M::Idle,
         {R"(setGlobalProperty {"stageLink":true})"}},
        {"stage linked",
         K::EIRCControlType_StageLink,
         {},
         M::Busy,
         {R"(setGlobalProperty {"stageLink":false})"}},
        {"stand-by off", K::EIRCControlType_Standby, {}, M::Idle, {R"(setGlobalProperty {"standby":true})"}},
        {"stand-by on", K::EIRCControlType_Standby, {}, M::Busy, {R"(setGlobalProperty {"standby":false})"}},
        {"track playing",
         K::EIRCControlType_TrackPlay,
         {{"TrackName", "A"}},
         M::Busy,
         {R"(setTrack {"id":"t1","playState":2})"}},
        {"track stopped",
         K::EIRCControlType_TrackPlay,
         {{"TrackName", "C"}},
         M::Busy,
         {R"(setTrack {"id":"t3","playState":1})"}},
        {"track unknown", K::EIRCControlType_TrackPlay, {{"TrackName", "Z"}}, M::Busy, {}},
        {"track stop",
         K::EIRCControlType_TrackStop,
         {{"TrackName", "A"}},
         M::Busy,
         {R"(setTrack {"id":"t1","playState":0})"}},
        {"track stop unknown", K::EIRCControlType_TrackStop, {{"TrackName", "Z"}}, M::Busy, {}},
        {"exit", K::EIRCControlType_Exit, {}, M::Idle, {}, true},
        // These ask for dialogs, or run a script, without sending anything themselves.
        {"network link", K::EIRCControlType_NetLink, {}, M::Busy, {}},
        {"join project", K::EIRCControlType_JoinProject, {}, M::Busy, {}},
        {"label", K::EIRCControlType_Label, {}, M::Busy, {}},
        {"stage view", K::EIRCControlType_StageView, {}, M::Busy, {}},
        {"script button", K::EIRCControlType_Script, {}, M::Busy, {}},
        {"volume slider", K::EIRCControlType_GlobalVolume, {}, M::Busy, {}},
    };
}

} // namespace ItemClickTable
