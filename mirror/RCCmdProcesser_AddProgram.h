#pragma once

#include "mirror/RCCmdProcesser.h"

// "addProgram" {id, name, playState, index}: inserts a program at "index" (0, the front, when
// absent) and announces the table update.
class RCCmdProcesser_AddProgram : public RCCmdProcesser
{
public:
    void process(const QJsonObject& params, IRCProject* project) override;
};
