#include "actions/RCAction_VexaPlayOrPauseProgram.h"

int RCAction_VexaPlayOrPauseProgram::execute(const QString& sceneId, const QString& sceneItemId,
                                             const QVariant& /*data*/)
{
    return sendCommand(QStringLiteral("playOrPauseVexaProgram"), programListTypeParams(sceneId, sceneItemId));
}
