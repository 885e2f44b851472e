#pragma once

#include "actions/RCAction.h"

// Sends "stopAllProgram" with no parameters.
class RCAction_StopAllProgram : public RCAction
{
public:
    using RCAction::RCAction;

    int execute(const QString& sceneId, const QString& sceneItemId, const QVariant& data) override;
};
