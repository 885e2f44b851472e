#pragma once

#include "actions/RCAction.h"

// Stops every mirrored track named in the item's "TrackNameList" (names separated by ";" or
// "；"): one "setTrack" {"id", "playState": 0} per track, in mirror order. -1 for an empty list.
class RCAction_StopMultipleTrack : public RCAction
{
public:
    using RCAction::RCAction;

    int execute(const QString& sceneId, const QString& sceneItemId, const QVariant& data) override;
};
