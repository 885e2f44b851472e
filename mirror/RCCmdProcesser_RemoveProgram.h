#pragma once

#include "mirror/RCCmdProcesser.h"

// "removeProgram" {id}: removes a program and announces the table update (also for an unknown id).
class RCCmdProcesser_RemoveProgram : public RCCmdProcesser
{
public:
    void process(const QJsonObject& params, IRCProject* project) override;
};
