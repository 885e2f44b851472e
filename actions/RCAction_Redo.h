#pragma once

#include "actions/RCAction.h"

// Redoes one step of the editing history.
class RCAction_Redo : public RCAction
{
public:
    using RCAction::RCAction;

    int execute(const QString& sceneId, const QString& sceneItemId, const QVariant& data) override;
};
