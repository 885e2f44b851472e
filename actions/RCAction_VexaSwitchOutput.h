#pragma once

#include "actions/RCAction.h"

// Sends "switchVexaOutput" with no parameters.
class RCAction_VexaSwitchOutput : public RCAction
{
public:
    using RCAction::RCAction;

    int execute(const QString& sceneId, const QString& sceneItemId, const QVariant& data) override;
};
