#pragma once

#include "mirror/RCCmdProcesser.h"

// "removeProgramLayer" {id}: removes a layer and announces the table update.
class RCCmdProcesser_RemoveProgramLayer : public RCCmdProcesser
{
public:
    void process(const QJsonObject& params, IRCProject* project) override;
};
