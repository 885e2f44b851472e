#pragma once

#include "mirror/RCCmdProcesser.h"

// "setVexaProgramManager" {videoProgramListArray?, audioProgramListArray?, textProgramListArray?}:
// replaces every Vexa program list; each list present is appended to its kind before its own
// programs. An absent array leaves its kind empty. Marks download step 0.
class RCCmdProcesser_SetVexaProgramManager : public RCCmdProcesser
{
public:
    void process(const QJsonObject& params, IRCProject* project) override;
};
