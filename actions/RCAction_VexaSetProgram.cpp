#include "actions/RCAction_VexaSetProgram.h"

int RCAction_VexaSetProgram::execute(const QString& /*sceneId*/, const QString& /*sceneItemId*/,
                                     const QVariant& data)
{
    return sendCommand(QStringLiteral("setVexaProgram"), toCommandParams(data.toMap()));
}
