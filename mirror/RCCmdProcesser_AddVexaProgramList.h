#pragma once

#include "mirror/RCCmdProcesser.h"

// "addVexaProgramList" {id, name, index, programListType, programArray}: inserts a list of that
// kind at "index" (0 when absent), then appends its programs. Nothing for a kind outside 0 to 2.
class RCCmdProcesser_AddVexaProgramList : public RCCmdProcesser
{
public:
    void process(const QJsonObject& params, IRCProject* project) override;
};
