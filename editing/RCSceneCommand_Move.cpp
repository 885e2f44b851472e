#include "editing/RCSceneCommand_Move.h"

#include "model/RCScene.h"
#include "model/RCSceneManager.h"

RCSceneCommand_Move::RCSceneCommand_Move() = default;

RCSceneCommand_Move::RCSceneCommand_Move(const QString& sceneId, int toIndex)
    : m_sceneId(sceneId), m_toIndex(toIndex)
{
}

bool RCSceneCommand_Move::execute()
{
    RCSceneManager* manager = RCSceneManager::instance();
    const int from = manager->indexOf(m_sceneId);
    RCScene* scene = manager->takeScene(m_sceneId);
    if (!scene)
        return false;
    m_fromIndex = from;
    manager->addScene(scene, m_toIndex);
    return true;
}

bool RCSceneCommand_Move::undo()
{
    RCSceneManager* manager = RCSceneManager::instance();
    RCScene* scene = manager->takeScene(m_sceneId);
    if (!scene)
        return false;
    manager->addScene(scene, m_fromIndex);
    return true;
}

QString RCSceneCommand_Move::typeName() const
{
    return QStringLiteral("RCSceneCommand_Move");
}
