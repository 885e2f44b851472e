#pragma once

#include "actions/RCAction.h"

// Aligns the selected items' bottom edges on the lowest one (one undo step).
class RCAction_BottomAlignment : public RCAction
{
public:
    using RCAction::RCAction;

    int execute(const QString& sceneId, const QString& sceneItemId, const QVariant& data) override;
};
