#include "actions/RCAction_SendCommand.h"

#include "editing/RCSceneItemPresenter.h"
#include "model/RCKeys.h"
#include "model/RCTypedValue.h"

int RCAction_SendCommand::execute(const QString& sceneId, const QString& sceneItemId,
                                  const QVariant& /*data*/)
{
    if (!terminal() || !RCSceneItemPresenter::instance()->containItem(sceneId, sceneItemId))
        return -1;
    const QString name = itemValue(sceneId, sceneItemId, RCKeys::CmdType()).toString();
    if (name.isEmpty())
        return -1;
    QJsonObject params;
    const QStringList keys = itemValue(sceneId, sceneItemId, RCKeys::CmdProNameList()).toStringList();
    for (const QString& property : keys) {
        const QString key = commandKey(property);
        const QVariant value = itemValue(sceneId, sceneItemId, property);
        if (!key.isEmpty() && value.isValid())
            params.insert(key, variantToJsonValue(value));
    }
    return sendCommand(name, params);
}
