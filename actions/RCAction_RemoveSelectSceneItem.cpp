#include "actions/RCAction_RemoveSelectSceneItem.h"

#include "editing/RCSceneItemPresenter.h"

int RCAction_RemoveSelectSceneItem::execute(const QString& sceneId, const QString& /*sceneItemId*/,
                                            const QVariant& /*data*/)
{
    RCSceneItemPresenter* items = RCSceneItemPresenter::instance();
    items->removeItemList(sceneId, items->getSelectItems(sceneId), true);
    return 0;
}
