#pragma once

#include "actions/RCAction.h"

// Sends "playNextProgram" with no parameters.
class RCAction_PlayNextProgram : public RCAction
{
public:
    using RCAction::RCAction;

    int execute(const QString& sceneId, const QString& sceneItemId, const QVariant& data) override;
};
