#include "editing/RCSceneItemCommand_Remove.h"

#include "model/RCScene.h"
#include "model/RCSceneItem.h"
#include "model/RCSceneManager.h"

RCSceneItemCommand_Remove::RCSceneItemCommand_Remove() = default;

RCSceneItemCommand_Remove::RCSceneItemCommand_Remove(const QString& sceneId, const QString& itemId)
    : m_sceneId(sceneId), m_itemId(itemId)
{
}

bool RCSceneItemCommand_Remove::execute()
{
    RCSceneManager* scenes = RCSceneManager::instance();
    RCSceneItem* item = scenes->getSceneItem(m_sceneId, m_itemId);
    if (!item)
        return false;
    RCScene* scene = scenes->getScene(m_sceneId);
    m_itemJson = item->toJson();
    m_pos = item->getPos();
    m_index = int(scene->getItemList().indexOf(item));
    scene->removeItem(m_itemId);
    m_removed = true;
    return true;
}

bool RCSceneItemCommand_Remove::undo()
{
    if (!m_removed)
        return false;
    RCScene* scene = RCSceneManager::instance()->getScene(m_sceneId);
    if (!scene || scene->getItemById(m_itemId))
        return false;
    auto* item = new RCSceneItem(scene);
    item->fromJson(m_itemJson);
    item->setPos(m_pos);
    scene->insertItem(item, m_index);
    item->setFocus(false);
    m_removed = false;
    return true;
}

QString RCSceneItemCommand_Remove::typeName() const
{
    return QStringLiteral("RCSceneItemCommand_Remove");
}
