#include "actions/RCAction_VexaProgramTryPlay.h"

int RCAction_VexaProgramTryPlay::execute(const QString& /*sceneId*/, const QString& /*sceneItemId*/,
                                         const QVariant& data)
{
    return sendCommand(QStringLiteral("setVexaProgram"), vexaProgramParams(data.toMap(), 1));
}
