#include "actions/RCAction_ExcuteOtherSceneItem.h"

#include "editing/RCSceneItemPresenter.h"
#include "model/RCKeys.h"

#include <QDebug>

int RCAction_ExcuteOtherSceneItem::execute(const QString& /*sceneId*/, const QString& /*sceneItemId*/,
                                           const QVariant& data)
{
    const QVariantMap map = data.toMap();
    const QString targetScene = sceneIdByName(map.value(RCKeys::SceneName()).toString());
    if (targetScene.isEmpty())
        return 0;
    const QString itemName = map.value(RCKeys::SceneItemName()).toString();
    RCSceneItemPresenter* items = RCSceneItemPresenter::instance();
    const QStringList ids = items->getItemIds(targetScene);
    for (const QString& id : ids) {
        if (items->getPropertyValue(targetScene, id, RCKeys::ObjectName()).toString() != itemName)
            continue;
        if (m_depth >= kMaxNesting) {
            qWarning() << "Excute scene item refused: items execute each other more than" << kMaxNesting
                       << "levels deep" << itemName;
            return -1;
        }
        ++m_depth;
        Q_EMIT items->itemExecute(targetScene, id);
        --m_depth;
        return 0;
    }
    return 0;
}
