#pragma once

#include "mirror/RCCmdProcesser.h"

// "removeProgramNode" {id}: removes a node; the table update is not announced.
class RCCmdProcesser_RemoveProgramNode : public RCCmdProcesser
{
public:
    void process(const QJsonObject& params, IRCProject* project) override;
};
