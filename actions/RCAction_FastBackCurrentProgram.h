#pragma once

#include "actions/RCAction.h"

// Sends "fastBackCurrentProgram": winds the current program back by the item's "Sec" seconds, sent as a
// number.
class RCAction_FastBackCurrentProgram : public RCAction
{
public:
    using RCAction::RCAction;

    int execute(const QString& sceneId, const QString& sceneItemId, const QVariant& data) override;
};
