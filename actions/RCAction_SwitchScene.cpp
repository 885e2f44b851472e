#include "actions/RCAction_SwitchScene.h"

#include "editing/RCScenePresenter.h"
#include "model/RCKeys.h"

int RCAction_SwitchScene::execute(const QString& sceneId, const QString& sceneItemId,
                                  const QVariant& /*data*/)
{
    const QString target = sceneIdByName(itemValue(sceneId, sceneItemId, RCKeys::SceneName()).toString());
    if (!target.isEmpty())
        RCScenePresenter::instance()->setSelectScene(target);
    return 0;
}
