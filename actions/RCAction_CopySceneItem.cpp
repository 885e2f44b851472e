#include "actions/RCAction_CopySceneItem.h"

#include "actions/RCSceneItemClipboard.h"
#include "editing/RCSceneItemPresenter.h"

#include <QJsonArray>

int RCAction_CopySceneItem::execute(const QString& sceneId, const QString& /*sceneItemId*/,
                                    const QVariant& /*data*/)
{
    RCSceneItemPresenter* items = RCSceneItemPresenter::instance();
    QJsonArray array;
    const QStringList ids = items->getSelectItems(sceneId);
    for (const QString& id : ids)
        array.append(items->getItemJson(sceneId, id));
    return RCSceneItemClipboard::write(array) ? 0 : -1;
}
