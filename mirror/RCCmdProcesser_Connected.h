#pragma once

#include "mirror/RCCmdProcesser.h"

// "connected": the server accepted the panel. Emits the project's connectToHost with the
// control link's peer address; the project then connects the mirror and marks itself connected.
class RCCmdProcesser_Connected : public RCCmdProcesser
{
public:
    void process(const QJsonObject& params, IRCProject* project) override;
};
