#pragma once

#include "actions/RCAction.h"

// Sends "setTrack" for a track's play state ({"Id", "State"}): the data map under its command keys.
class RCAction_SetTrack : public RCAction
{
public:
    using RCAction::RCAction;

    int execute(const QString& sceneId, const QString& sceneItemId, const QVariant& data) override;
};
