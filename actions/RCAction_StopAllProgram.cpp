#include "actions/RCAction_StopAllProgram.h"

int RCAction_StopAllProgram::execute(const QString& /*sceneId*/, const QString& /*sceneItemId*/,
                                     const QVariant& /*data*/)
{
    return sendCommand(QStringLiteral("stopAllProgram"));
}
