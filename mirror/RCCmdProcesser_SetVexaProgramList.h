#pragma once

#include "mirror/RCCmdProcesser.h"

// "setVexaProgramList" {id, name?}: a list's name; the mirror finds the list among all kinds.
class RCCmdProcesser_SetVexaProgramList : public RCCmdProcesser
{
public:
    void process(const QJsonObject& params, IRCProject* project) override;
};
