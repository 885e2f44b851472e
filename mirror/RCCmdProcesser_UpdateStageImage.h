#pragma once

#include "mirror/RCCmdProcesser.h"

// "setStageImage" {stageImage}: the stage image as a Base64 JPEG. The mirror is told on every
// answer, also one whose image is empty or does not decode (a null image, which it ignores), so that
// its next stage request goes out at once.
class RCCmdProcesser_UpdateStageImage : public RCCmdProcesser
{
public:
    void process(const QJsonObject& params, IRCProject* project) override;
};
