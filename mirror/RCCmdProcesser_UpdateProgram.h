#pragma once

#include "mirror/RCCmdProcesser.h"

// "setProgram" {id, name?, playState?}: a program's name, then its play state.
class RCCmdProcesser_UpdateProgram : public RCCmdProcesser
{
public:
    void process(const QJsonObject& params, IRCProject* project) override;
};
