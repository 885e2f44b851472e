#include "actions/RCAction_OpenAllDisplay.h"

int RCAction_OpenAllDisplay::execute(const QString& /*sceneId*/, const QString& /*sceneItemId*/,
                                     const QVariant& /*data*/)
{
    return sendCommand(QStringLiteral("openAllDisplay"));
}
