#pragma once

#include "mirror/RCCmdProcesser.h"

// "addTrackProgram" {trackId, id, name, playState, countdownTime, index}: inserts a program into
// a track at "index" (0 when absent); "CountdownTime" goes to the mirror as a qlonglong.
class RCCmdProcesser_AddTrackProgram : public RCCmdProcesser
{
public:
    void process(const QJsonObject& params, IRCProject* project) override;
};
