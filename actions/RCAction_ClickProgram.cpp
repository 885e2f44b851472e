#include "actions/RCAction_ClickProgram.h"

#include "mirror/IRCStelvaneSyncer.h"

int RCAction_ClickProgram::execute(const QString& /*sceneId*/, const QString& /*sceneItemId*/,
                                   const QVariant& data)
{
    if (!project() || !terminal())
        return -1;
    const QString id = data.toString();
    const int state = mirror()->getProgramState(id);
    const int value = (state == 0 || state == 2) ? 1 : 2;
    return sendCommand(QStringLiteral("setProgram"),
                       QJsonObject{{QStringLiteral("id"), id},
                                   {QStringLiteral("name"), QStringLiteral("playState")},
                                   {QStringLiteral("value"), value}});
}
