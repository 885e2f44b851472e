#include "actions/RCAction_FastForwardCurrentProgram.h"

#include "model/RCKeys.h"

int RCAction_FastForwardCurrentProgram::execute(const QString& sceneId, const QString& sceneItemId,
                                                const QVariant& /*data*/)
{
    const double sec = itemValue(sceneId, sceneItemId, RCKeys::Sec()).toDouble();
    return sendCommand(QStringLiteral("fastForwardCurrentProgram"),
                       QJsonObject{{QStringLiteral("sec"), sec}});
}
