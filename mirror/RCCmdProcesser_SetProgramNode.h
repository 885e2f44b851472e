#pragma once

#include "mirror/RCCmdProcesser.h"

// "setProgramNode" {id, name?, playState?, length?, progress?, programLayerId?, programIdArray?,
// thumbnail?, programNodeTitle?}: one mirror call per key present, in that order. A thumbnail that
// does not decode is passed on as a null image.
class RCCmdProcesser_SetProgramNode : public RCCmdProcesser
{
public:
    void process(const QJsonObject& params, IRCProject* project) override;
};
