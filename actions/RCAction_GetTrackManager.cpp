#include "actions/RCAction_GetTrackManager.h"

int RCAction_GetTrackManager::execute(const QString& /*sceneId*/, const QString& /*sceneItemId*/,
                                      const QVariant& /*data*/)
{
    return sendCommand(QStringLiteral("getTrackManager"));
}
