#pragma once

#include "actions/RCAction.h"

// Undoes one step of the editing history.
class RCAction_Undo : public RCAction
{
public:
    using RCAction::RCAction;

    int execute(const QString& sceneId, const QString& sceneItemId, const QVariant& data) override;
};
