#pragma once

#include "actions/RCAction.h"

// Sends "setGlobalProperty" for a global property ({"Volume": v}, {"StageLink": b}, ...): the data map under
// its command keys.
class RCAction_SetGlobalProperty : public RCAction
{
public:
    using RCAction::RCAction;

    int execute(const QString& sceneId, const QString& sceneItemId, const QVariant& data) override;
};
