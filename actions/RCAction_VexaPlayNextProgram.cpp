#include "actions/RCAction_VexaPlayNextProgram.h"

int RCAction_VexaPlayNextProgram::execute(const QString& sceneId, const QString& sceneItemId,
                                          const QVariant& /*data*/)
{
    return sendCommand(QStringLiteral("playNextVexaProgram"), programListTypeParams(sceneId, sceneItemId));
}
