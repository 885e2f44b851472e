#pragma once

#include "actions/RCAction.h"

// Asks the media server for one global property: data {"ProName": "StageLink", "Standby",
// "Volume", "Brightness" or "DisplayOpen"} sends "getGlobalProperty" {"name": its command key};
// any other name (compared exactly) sends nothing.
class RCAction_GetGlobalProperty : public RCAction
{
public:
    using RCAction::RCAction;

    int execute(const QString& sceneId, const QString& sceneItemId, const QVariant& data) override;
};
