#pragma once

// What a click on each kind of scene item sends, with the mirror idle or busy: the table the item
// executor is checked against here, and the one the QML button views are to be checked against.

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

inline Row row(const char* name, int kind, Mirror mirror, const QStringList& sent,
               const QVariantMap& properties = {}, bool closes = false)
{
    return Row{name, kind, properties, mirror, sent, closes};
}

inline QList<Row> rows()
{
    using K = IRCControl::EIRCControlType;
    const Mirror idle = Mirror::Idle;
    const Mirror busy = Mirror::Busy;
    return {
        row("action button", K::EIRCControlType_PlayPre, idle, {"playPreProgram {}"}),
        row("action button with a property", K::EIRCControlType_FastBack, idle,
            {R"(fastBackCurrentProgram {"sec":1.5})"}, {{"Sec", 1.5}}),
        row("current program idle", K::EIRCControlType_CurrentProgramState, idle, {"playCurrentProgram {}"}),
        row("current program playing", K::EIRCControlType_CurrentProgramState, busy,
            {"pauseCurrentProgram {}"}),
        row("displays closed", K::EIRCControlType_DisplayState, idle,
            {R"(setGlobalProperty {"displayOutputState":true})"}),
        row("displays open", K::EIRCControlType_DisplayState, busy,
            {R"(setGlobalProperty {"displayOutputState":false})"}),
        row("stage unlinked", K::EIRCControlType_StageLink, idle,
            {R"(setGlobalProperty {"stageLink":true})"}),
        row("stage linked", K::EIRCControlType_StageLink, busy, {R"(setGlobalProperty {"stageLink":false})"}),
        row("stand-by off", K::EIRCControlType_Standby, idle, {R"(setGlobalProperty {"standby":true})"}),
        row("stand-by on", K::EIRCControlType_Standby, busy, {R"(setGlobalProperty {"standby":false})"}),
        row("track playing", K::EIRCControlType_TrackPlay, busy, {R"(setTrack {"id":"t1","playState":2})"},
            {{"TrackName", "A"}}),
        row("track stopped", K::EIRCControlType_TrackPlay, busy, {R"(setTrack {"id":"t3","playState":1})"},
            {{"TrackName", "C"}}),
        row("track unknown", K::EIRCControlType_TrackPlay, busy, {}, {{"TrackName", "Z"}}),
        row("track stop", K::EIRCControlType_TrackStop, busy, {R"(setTrack {"id":"t1","playState":0})"},
            {{"TrackName", "A"}}),
        row("exit", K::EIRCControlType_Exit, idle, {}, {}, true),
        row("label", K::EIRCControlType_Label, busy, {}),
        row("stage view", K::EIRCControlType_StageView, busy, {}),
        row("script button", K::EIRCControlType_Script, busy, {}),
        row("volume slider", K::EIRCControlType_GlobalVolume, busy, {}),
    };
}

} // namespace ItemClickTable
