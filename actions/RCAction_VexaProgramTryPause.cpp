#include "actions/RCAction_VexaProgramTryPause.h"

int RCAction_VexaProgramTryPause::execute(const QString& /*sceneId*/, const QString& /*sceneItemId*/,
                                          const QVariant& data)
{
    return sendCommand(QStringLiteral("setVexaProgram"), vexaProgramParams(data.toMap(), 2));
}
