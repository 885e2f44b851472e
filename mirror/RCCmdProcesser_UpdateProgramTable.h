#pragma once

#include "mirror/RCCmdProcesser.h"

// "setProgramTable" {programArray, programLayerArray, programNodeArray}: replaces the whole
// program table (nodes, layers and programs cleared, then programs, layers and nodes appended in
// array order), announces the table update and marks download step 0.
class RCCmdProcesser_UpdateProgramTable : public RCCmdProcesser
{
public:
    void process(const QJsonObject& params, IRCProject* project) override;
};
