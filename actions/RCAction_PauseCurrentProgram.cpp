#include "actions/RCAction_PauseCurrentProgram.h"

int RCAction_PauseCurrentProgram::execute(const QString& /*sceneId*/, const QString& /*sceneItemId*/,
                                          const QVariant& /*data*/)
{
    return sendCommand(QStringLiteral("pauseCurrentProgram"));
}
