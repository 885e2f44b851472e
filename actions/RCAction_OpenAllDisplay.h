#pragma once

#include "actions/RCAction.h"

// Sends "openAllDisplay" with no parameters.
class RCAction_OpenAllDisplay : public RCAction
{
public:
    using RCAction::RCAction;

    int execute(const QString& sceneId, const QString& sceneItemId, const QVariant& data) override;
};
