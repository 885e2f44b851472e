#include "editing/RCSceneCommand_Add.h"

#include "model/RCScene.h"
#include "model/RCSceneManager.h"

RCSceneCommand_Add::RCSceneCommand_Add() = default;

RCSceneCommand_Add::RCSceneCommand_Add(const QString& name, const QString& iconPath,
                                       const QString& backgroundImg, int index)
    : m_name(name), m_iconPath(iconPath), m_backgroundImg(backgroundImg), m_index(index)
{
}

bool RCSceneCommand_Add::execute()
{
    RCSceneManager* manager = RCSceneManager::instance();
    auto* scene = new RCScene(m_name, m_iconPath, m_backgroundImg);
    if (m_sceneJson.isEmpty())
        m_sceneJson = scene->toJson();
    else
        scene->fromJson(m_sceneJson);
    if (manager->getScene(scene->getId())) {
        delete scene;
        return false;
    }
    m_sceneId = scene->getId();
    manager->addScene(scene, m_index);
    return true;
}

bool RCSceneCommand_Add::undo()
{
    if (m_sceneId.isEmpty())
        return false;
    RCSceneManager* manager = RCSceneManager::instance();
    RCScene* scene = manager->getScene(m_sceneId);
    // What the scene got unrecorded after the add (its size, say) comes back with the redo.
    if (scene)
        m_sceneJson = scene->toJson();
    return manager->removeScene(scene);
}

QString RCSceneCommand_Add::typeName() const
{
    return QStringLiteral("RCSceneCommand_Add");
}

QString RCSceneCommand_Add::getSceneId() const
{
    if (m_sceneId.isEmpty() || !RCSceneManager::instance()->getScene(m_sceneId))
        return QString();
    return m_sceneId;
}
