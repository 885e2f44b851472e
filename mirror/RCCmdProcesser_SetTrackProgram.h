#pragma once

#include "mirror/RCCmdProcesser.h"

// "setTrackProgram" {trackId, id, name?, playState?, countdownTime?}: one property of a track's
// program per key present, in that order; "CountdownTime" goes to the mirror as a double.
class RCCmdProcesser_SetTrackProgram : public RCCmdProcesser
{
public:
    void process(const QJsonObject& params, IRCProject* project) override;
};
