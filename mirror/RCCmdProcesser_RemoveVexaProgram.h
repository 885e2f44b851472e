#pragma once

#include "mirror/RCCmdProcesser.h"

// "removeVexaProgram" {id, programListId, programListType}: removes a program from a list of that
// kind. Nothing for a kind outside 0 to 2.
class RCCmdProcesser_RemoveVexaProgram : public RCCmdProcesser
{
public:
    void process(const QJsonObject& params, IRCProject* project) override;
};
