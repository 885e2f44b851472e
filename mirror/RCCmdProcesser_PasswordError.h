#pragma once

#include "mirror/RCCmdProcesser.h"

// "passwordError": the password sent was wrong. Emits the project's connectPasswordError.
class RCCmdProcesser_PasswordError : public RCCmdProcesser
{
public:
    void process(const QJsonObject& params, IRCProject* project) override;
};
