#pragma once

#include "actions/RCAction.h"

// Sends "fastForwardCurrentProgram": winds the current program forward by the item's "Sec" seconds, sent as a
// number.
class RCAction_FastForwardCurrentProgram : public RCAction
{
public:
    using RCAction::RCAction;

    int execute(const QString& sceneId, const QString& sceneItemId, const QVariant& data) override;
};
