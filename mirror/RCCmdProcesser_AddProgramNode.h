#pragma once

#include "mirror/RCCmdProcesser.h"

// "addProgramNode" {id, name, playState, length, progress, programLayerId, programIdArray,
// thumbnail?, programNodeTitle}: adds a node (with its decoded thumbnail when one is sent).
class RCCmdProcesser_AddProgramNode : public RCCmdProcesser
{
public:
    void process(const QJsonObject& params, IRCProject* project) override;
};
