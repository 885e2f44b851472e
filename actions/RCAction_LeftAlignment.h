#pragma once

#include "actions/RCAction.h"

// Aligns the selected items' left edges on the leftmost one (one undo step).
class RCAction_LeftAlignment : public RCAction
{
public:
    using RCAction::RCAction;

    int execute(const QString& sceneId, const QString& sceneItemId, const QVariant& data) override;
};
