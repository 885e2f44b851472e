#include "actions/RCAction_FastBackCurrentProgram.h"

#include "model/RCKeys.h"

int RCAction_FastBackCurrentProgram::execute(const QString& sceneId, const QString& sceneItemId,
                                             const QVariant& /*data*/)
{
    const double sec = itemValue(sceneId, sceneItemId, RCKeys::Sec()).toDouble();
    return sendCommand(QStringLiteral("fastBackCurrentProgram"), QJsonObject{{QStringLiteral("sec"), sec}});
}
