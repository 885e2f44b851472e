#include "actions/RCAction_PlayCurrentProgram.h"

int RCAction_PlayCurrentProgram::execute(const QString& /*sceneId*/, const QString& /*sceneItemId*/,
                                         const QVariant& /*data*/)
{
    return sendCommand(QStringLiteral("playCurrentProgram"));
}
