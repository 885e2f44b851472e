#pragma once

#include "mirror/RCCmdProcesser.h"

// "addVexaProgram" {id, name, playState, programListId, index, programListType, length, progress,
// beginPos, endPos}: inserts a program into a list of that kind at "index" (0 when absent).
// Nothing for a kind outside 0 to 2.
class RCCmdProcesser_AddVexaProgram : public RCCmdProcesser
{
public:
    void process(const QJsonObject& params, IRCProject* project) override;
};
