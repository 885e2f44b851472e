#pragma once

#include "actions/RCAction.h"

// Sends "setProgramNode" for a node's state or progress ({"Id", "State"} or {"Id", "Progress"}): the data map
// under its command keys.
class RCAction_SetProgramNode : public RCAction
{
public:
    using RCAction::RCAction;

    int execute(const QString& sceneId, const QString& sceneItemId, const QVariant& data) override;
};
