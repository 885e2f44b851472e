#pragma once

#include "actions/RCAction.h"

// Sends "getTrackManager" with no parameters.
class RCAction_GetTrackManager : public RCAction
{
public:
    using RCAction::RCAction;

    int execute(const QString& sceneId, const QString& sceneItemId, const QVariant& data) override;
};
