#include "actions/RCAction_DownloadProject.h"

int RCAction_DownloadProject::execute(const QString& /*sceneId*/, const QString& /*sceneItemId*/,
                                      const QVariant& data)
{
    return sendCommand(QStringLiteral("getProject"), QJsonObject{{QStringLiteral("id"), data.toInt()}});
}
