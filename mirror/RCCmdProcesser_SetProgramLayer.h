#pragma once

#include "mirror/RCCmdProcesser.h"

// "setProgramLayer" {id, name?, programLayerType?}: a layer's name, then its type.
class RCCmdProcesser_SetProgramLayer : public RCCmdProcesser
{
public:
    void process(const QJsonObject& params, IRCProject* project) override;
};
