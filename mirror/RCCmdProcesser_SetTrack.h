#pragma once

#include "mirror/RCCmdProcesser.h"

// "setTrack" {id, name?, playState?, progress?}: one track property per key present, in that order.
class RCCmdProcesser_SetTrack : public RCCmdProcesser
{
public:
    void process(const QJsonObject& params, IRCProject* project) override;
};
