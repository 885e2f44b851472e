#include "actions/RCAction_VexaSwitchOutput.h"

int RCAction_VexaSwitchOutput::execute(const QString& /*sceneId*/, const QString& /*sceneItemId*/,
                                       const QVariant& /*data*/)
{
    return sendCommand(QStringLiteral("switchVexaOutput"));
}
