#include "actions/RCAction_SetTrack.h"

int RCAction_SetTrack::execute(const QString& /*sceneId*/, const QString& /*sceneItemId*/,
                               const QVariant& data)
{
    return sendCommand(QStringLiteral("setTrack"), toCommandParams(data.toMap()));
}
