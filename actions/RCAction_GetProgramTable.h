#pragma once

#include "actions/RCAction.h"

// Sends "getProgramTable" with no parameters.
class RCAction_GetProgramTable : public RCAction
{
public:
    using RCAction::RCAction;

    int execute(const QString& sceneId, const QString& sceneItemId, const QVariant& data) override;
};
