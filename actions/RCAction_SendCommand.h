#pragma once

#include "actions/RCAction.h"

// The command buttons: sends the item's "CmdType" with the parameters that its "CmdProNameList"
// names, each under its command key with the JSON type of its property. The custom TCP/UDP command
// travels this way too ("customCmd" with "tcpOrUdp", "ip", "port", "cmd"): the media server opens
// the socket, not the panel. -1, sending nothing, for an item the scene does not hold or an empty
// command name.
class RCAction_SendCommand : public RCAction
{
public:
    using RCAction::RCAction;

    int execute(const QString& sceneId, const QString& sceneItemId, const QVariant& data) override;
};
