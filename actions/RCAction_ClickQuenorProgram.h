#pragma once

#include "actions/RCAction.h"

// A tap on a program of a track: sends "setTrackProgram" {"trackId", "id", "playState"} that plays
// the program (1) when it is stopped or paused, else pauses it (2). The state is the track
// program's own "State", or the program table's when the track holds no such program. data:
// {"TrackId", "ProgramId"}.
class RCAction_ClickQuenorProgram : public RCAction
{
public:
    using RCAction::RCAction;

    int execute(const QString& sceneId, const QString& sceneItemId, const QVariant& data) override;
};
