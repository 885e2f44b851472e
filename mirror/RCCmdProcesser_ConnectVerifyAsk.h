#pragma once

#include "mirror/RCCmdProcesser.h"

// "connectVerifyAsk": the server wants the password. Emits the project's connectVerifyAsk.
class RCCmdProcesser_ConnectVerifyAsk : public RCCmdProcesser
{
public:
    void process(const QJsonObject& params, IRCProject* project) override;
};
