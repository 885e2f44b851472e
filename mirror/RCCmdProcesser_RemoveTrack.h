#pragma once

#include "mirror/RCCmdProcesser.h"

// "removeTrack" {id}: removes a track with its programs.
class RCCmdProcesser_RemoveTrack : public RCCmdProcesser
{
public:
    void process(const QJsonObject& params, IRCProject* project) override;
};
