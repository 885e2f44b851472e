#pragma once

#include "mirror/RCCmdProcesser.h"

// "setTrackManager" {trackArray}: replaces every track, in array order, and marks download step 1.
class RCCmdProcesser_SetTrackManager : public RCCmdProcesser
{
public:
    void process(const QJsonObject& params, IRCProject* project) override;
};
