#pragma once

#include "actions/RCAction.h"

// Spreads the selected items evenly from top to bottom (one undo step).
class RCAction_VerBisectorAlignment : public RCAction
{
public:
    using RCAction::RCAction;

    int execute(const QString& sceneId, const QString& sceneItemId, const QVariant& data) override;
};
