#pragma once

#include "mirror/RCCmdProcesser.h"

// "removeTrackProgram" {trackId, id}: removes a program from a track.
class RCCmdProcesser_RemoveTrackProgram : public RCCmdProcesser
{
public:
    void process(const QJsonObject& params, IRCProject* project) override;
};
