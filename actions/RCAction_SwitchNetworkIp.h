#pragma once

#include "actions/RCAction.h"

// Points the control link at another media server: stores the item's "Ip" as the setting
// "DefaultIp", which makes the project reset the link. A dotted IPv4 address is stored, and so is an
// empty "Ip" (blanks only count as empty), which lets the link connect to any server again;
// anything else answers -1, changes nothing and is logged as a warning.
class RCAction_SwitchNetworkIp : public RCAction
{
public:
    using RCAction::RCAction;

    int execute(const QString& sceneId, const QString& sceneItemId, const QVariant& data) override;

    // Four decimal numbers from 0 to 255 separated by dots.
    static bool isIpv4Address(const QString& text);
};
