#pragma once

#include "actions/RCAction.h"

// Lines the selected items' centres up on one vertical line (one undo step).
class RCAction_VerCenterAlignment : public RCAction
{
public:
    using RCAction::RCAction;

    int execute(const QString& sceneId, const QString& sceneItemId, const QVariant& data) override;
};
