#include "actions/RCAction_PlayPreProgram.h"

int RCAction_PlayPreProgram::execute(const QString& /*sceneId*/, const QString& /*sceneItemId*/,
                                     const QVariant& /*data*/)
{
    return sendCommand(QStringLiteral("playPreProgram"));
}
