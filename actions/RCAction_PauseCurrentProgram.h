#pragma once

#include "actions/RCAction.h"

// Sends "pauseCurrentProgram" with no parameters.
class RCAction_PauseCurrentProgram : public RCAction
{
public:
    using RCAction::RCAction;

    int execute(const QString& sceneId, const QString& sceneItemId, const QVariant& data) override;
};
