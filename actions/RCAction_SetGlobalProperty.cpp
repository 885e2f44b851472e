#include "actions/RCAction_SetGlobalProperty.h"

int RCAction_SetGlobalProperty::execute(const QString& /*sceneId*/, const QString& /*sceneItemId*/,
                                        const QVariant& data)
{
    return sendCommand(QStringLiteral("setGlobalProperty"), toCommandParams(data.toMap()));
}
