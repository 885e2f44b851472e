#pragma once

#include "actions/RCAction.h"

// Moves the selected items one unit in the direction of an arrow key (one undo step).
class RCAction_SelectItemsMoveByKey : public RCAction
{
public:
    using RCAction::RCAction;

    int execute(const QString& sceneId, const QString& sceneItemId, const QVariant& data) override;
};
