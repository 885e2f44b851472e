#pragma once

#include "mirror/RCCmdProcesser.h"

// "setGlobalProperty" {stageLink?, standby?, volume?, brightness?, displayOutputState?}: any
// subset of the global properties, in that order; "Volume" is stored as a double, "Brightness" as
// an int, the others as bools.
class RCCmdProcesser_SetGlobalProperty : public RCCmdProcesser
{
public:
    void process(const QJsonObject& params, IRCProject* project) override;
};
