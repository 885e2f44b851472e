#include "editing/RCSceneCommand_Remove.h"

#include "model/RCScene.h"
#include "model/RCSceneManager.h"

RCSceneCommand_Remove::RCSceneCommand_Remove() = default;

RCSceneCommand_Remove::RCSceneCommand_Remove(const QString& sceneId) : m_sceneId(sceneId) {}

bool RCSceneCommand_Remove::execute()
{
    RCSceneManager* manager = RCSceneManager::instance();
    RCScene* scene = manager->getScene(m_sceneId);
    if (!scene)
        return false;
    const int index = manager->indexOf(m_sceneId);
    m_name = scene->getName();
    m_iconPath = scene->getIconPath();
    m_backgroundImg = scene->getBackgroundImg();
    m_sceneJson = scene->toJson();
    if (!manager->removeScene(scene))
        return false;
    m_index = index;
    return true;
}

bool RCSceneCommand_Remove::undo()
{
    if (m_index == -1)
        return false;
    RCSceneManager* manager = RCSceneManager::instance();
    if (manager->getScene(m_sceneId))
        return false;
    auto* scene = new RCScene(m_name, m_iconPath, m_backgroundImg);
    scene->fromJson(m_sceneJson);
    manager->addScene(scene, m_index);
    m_index = -1;
    return true;
}

QString RCSceneCommand_Remove::typeName() const
{
    return QStringLiteral("RCSceneCommand_Remove");
}
