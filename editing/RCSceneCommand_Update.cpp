#include "editing/RCSceneCommand_Update.h"

#include "model/RCScene.h"
#include "model/RCSceneManager.h"

RCSceneCommand_Update::RCSceneCommand_Update() = default;

RCSceneCommand_Update::RCSceneCommand_Update(const QString& sceneId, const QString& name,
                                             const QVariant& value)
    : m_sceneId(sceneId), m_name(name), m_value(value)
{
}

bool RCSceneCommand_Update::execute()
{
    return changeProperty(RCSceneManager::instance()->getScene(m_sceneId), m_name, m_value, m_oldValue);
}

bool RCSceneCommand_Update::undo()
{
    RCScene* scene = RCSceneManager::instance()->getScene(m_sceneId);
    if (!scene)
        return false;
    scene->setPropertyValue(m_name, m_oldValue);
    return true;
}

QString RCSceneCommand_Update::typeName() const
{
    return QStringLiteral("RCSceneCommand_Update");
}

bool RCSceneCommand_Update::mergeWith(const RCCommand* other)
{
    if (!other || other->typeName() != typeName())
        return false;
    const auto* newer = dynamic_cast<const RCSceneCommand_Update*>(other);
    if (!newer || newer->m_sceneId != m_sceneId || newer->m_name != m_name)
        return false;
    m_value = newer->m_value;
    return true;
}
