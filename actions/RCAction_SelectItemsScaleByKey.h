#pragma once

#include "actions/RCAction.h"

// Grows (right, down) or shrinks (left, up) the selected items by one unit (one undo step).
class RCAction_SelectItemsScaleByKey : public RCAction
{
public:
    using RCAction::RCAction;

    int execute(const QString& sceneId, const QString& sceneItemId, const QVariant& data) override;
};
