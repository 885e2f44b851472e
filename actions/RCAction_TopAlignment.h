#pragma once

#include "actions/RCAction.h"

// Aligns the selected items' top edges on the topmost one (one undo step).
class RCAction_TopAlignment : public RCAction
{
public:
    using RCAction::RCAction;

    int execute(const QString& sceneId, const QString& sceneItemId, const QVariant& data) override;
};
