#include "actions/RCAction_PlayNextProgram.h"

int RCAction_PlayNextProgram::execute(const QString& /*sceneId*/, const QString& /*sceneItemId*/,
                                      const QVariant& /*data*/)
{
    return sendCommand(QStringLiteral("playNextProgram"));
}
