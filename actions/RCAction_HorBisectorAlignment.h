#pragma once

#include "actions/RCAction.h"

// Spreads the selected items evenly from left to right (one undo step).
class RCAction_HorBisectorAlignment : public RCAction
{
public:
    using RCAction::RCAction;

    int execute(const QString& sceneId, const QString& sceneItemId, const QVariant& data) override;
};
