#include "actions/RCAction_VexaStopProgram.h"

int RCAction_VexaStopProgram::execute(const QString& sceneId, const QString& sceneItemId,
                                      const QVariant& /*data*/)
{
    return sendCommand(QStringLiteral("stopVexaProgram"), programListTypeParams(sceneId, sceneItemId));
}
