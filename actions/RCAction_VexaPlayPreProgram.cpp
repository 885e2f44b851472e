#include "actions/RCAction_VexaPlayPreProgram.h"

int RCAction_VexaPlayPreProgram::execute(const QString& sceneId, const QString& sceneItemId,
                                         const QVariant& /*data*/)
{
    return sendCommand(QStringLiteral("playPreVexaProgram"), programListTypeParams(sceneId, sceneItemId));
}
