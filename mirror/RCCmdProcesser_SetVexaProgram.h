#pragma once

#include "mirror/RCCmdProcesser.h"

// "setVexaProgram" {id, programListId, name?, playState?, length?, beginPos?, endPos?, progress?}:
// one program property per key present, in that order; the mirror finds the list among all kinds.
class RCCmdProcesser_SetVexaProgram : public RCCmdProcesser
{
public:
    void process(const QJsonObject& params, IRCProject* project) override;
};
