#pragma once

#include "actions/RCAction.h"

// Sends "playPreProgram" with no parameters.
class RCAction_PlayPreProgram : public RCAction
{
public:
    using RCAction::RCAction;

    int execute(const QString& sceneId, const QString& sceneItemId, const QVariant& data) override;
};
