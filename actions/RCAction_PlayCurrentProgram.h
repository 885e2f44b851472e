#pragma once

#include "actions/RCAction.h"

// Sends "playCurrentProgram" with no parameters.
class RCAction_PlayCurrentProgram : public RCAction
{
public:
    using RCAction::RCAction;

    int execute(const QString& sceneId, const QString& sceneItemId, const QVariant& data) override;
};
