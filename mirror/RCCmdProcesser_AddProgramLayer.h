#pragma once

#include "mirror/RCCmdProcesser.h"

// "addProgramLayer" {id, name, programLayerType, index?}: inserts a layer at "index", or appends
// it when there is none, and announces the table update.
class RCCmdProcesser_AddProgramLayer : public RCCmdProcesser
{
public:
    void process(const QJsonObject& params, IRCProject* project) override;
};
