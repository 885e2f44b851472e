#pragma once

#include "actions/RCAction.h"

// Removes the selected items of the scene as one undo step.
class RCAction_RemoveSelectSceneItem : public RCAction
{
public:
    using RCAction::RCAction;

    int execute(const QString& sceneId, const QString& sceneItemId, const QVariant& data) override;
};
