#include "actions/RCAction_GetStageImage.h"

int RCAction_GetStageImage::execute(const QString& /*sceneId*/, const QString& /*sceneItemId*/,
                                    const QVariant& /*data*/)
{
    return sendCommand(QStringLiteral("getStageImage"));
}
