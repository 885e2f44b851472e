#pragma once

#include "mirror/RCCmdProcesser.h"

// "removeVexaProgramList" {id, programListType}: removes a list of that kind. Nothing for a kind
// outside 0 to 2.
class RCCmdProcesser_RemoveVexaProgramList : public RCCmdProcesser
{
public:
    void process(const QJsonObject& params, IRCProject* project) override;
};
