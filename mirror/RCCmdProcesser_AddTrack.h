#pragma once

#include "mirror/RCCmdProcesser.h"

// "addTrack" {name, id, playState, progress, index?}: inserts a track at "index", or appends it
// when there is none.
class RCCmdProcesser_AddTrack : public RCCmdProcesser
{
public:
    void process(const QJsonObject& params, IRCProject* project) override;
};
