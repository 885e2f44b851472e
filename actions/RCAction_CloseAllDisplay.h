#pragma once

#include "actions/RCAction.h"

// Sends "closeAllDisplay" with no parameters.
class RCAction_CloseAllDisplay : public RCAction
{
public:
    using RCAction::RCAction;

    int execute(const QString& sceneId, const QString& sceneItemId, const QVariant& data) override;
};
