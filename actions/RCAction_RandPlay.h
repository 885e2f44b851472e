#pragma once

#include "actions/RCAction.h"

#include <QRandomGenerator>

// Plays one randomly chosen track of the item's "TrackNameList" and stops the other listed ones.
// The listed track that is playing is not chosen again. Commands go out as "setTrack" {"id",
// "playState": 1 or 0}, interleaved in mirror order. -1 for an empty list.
class RCAction_RandPlay : public RCAction
{
public:
    // Draws from a generator seeded by the system, so the choices differ between starts.
    explicit RCAction_RandPlay(IRCActionManager* manager);
    // Draws from a generator with a fixed seed: the same choices every time.
    RCAction_RandPlay(IRCActionManager* manager, quint32 seed);

    int execute(const QString& sceneId, const QString& sceneItemId, const QVariant& data) override;

private:
    QRandomGenerator m_random;
};
