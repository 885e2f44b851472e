#pragma once

#include "actions/RCAction.h"

// Sends "getStageImage" with no parameters.
class RCAction_GetStageImage : public RCAction
{
public:
    using RCAction::RCAction;

    int execute(const QString& sceneId, const QString& sceneItemId, const QVariant& data) override;
};
