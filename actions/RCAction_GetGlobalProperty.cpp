#include "actions/RCAction_GetGlobalProperty.h"

#include "model/RCKeys.h"

int RCAction_GetGlobalProperty::execute(const QString& /*sceneId*/, const QString& /*sceneItemId*/,
                                        const QVariant& data)
{
    if (!terminal())
        return -1;
    static const QStringList kAskable{RCKeys::StageLink(), RCKeys::Standby(), RCKeys::Volume(),
                                      RCKeys::Brightness(), RCKeys::DisplayOpen()};
    const QString name = data.toMap().value(RCKeys::ProName()).toString();
    if (!kAskable.contains(name))
        return 0;
    return sendCommand(QStringLiteral("getGlobalProperty"),
                       QJsonObject{{QStringLiteral("name"), commandKey(name)}});
}
