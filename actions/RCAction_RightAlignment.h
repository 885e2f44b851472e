#pragma once

#include "actions/RCAction.h"

// Aligns the selected items' right edges on the rightmost one (one undo step).
class RCAction_RightAlignment : public RCAction
{
public:
    using RCAction::RCAction;

    int execute(const QString& sceneId, const QString& sceneItemId, const QVariant& data) override;
};
