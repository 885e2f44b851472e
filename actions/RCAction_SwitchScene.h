#pragma once

#include "actions/RCAction.h"

// Shows the first scene, in scene order, whose "Name" is the item's "SceneName"; an unknown name
// leaves the shown scene as it is.
class RCAction_SwitchScene : public RCAction
{
public:
    using RCAction::RCAction;

    int execute(const QString& sceneId, const QString& sceneItemId, const QVariant& data) override;
};
