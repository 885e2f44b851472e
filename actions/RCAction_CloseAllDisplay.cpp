#include "actions/RCAction_CloseAllDisplay.h"

int RCAction_CloseAllDisplay::execute(const QString& /*sceneId*/, const QString& /*sceneItemId*/,
                                      const QVariant& /*data*/)
{
    return sendCommand(QStringLiteral("closeAllDisplay"));
}
