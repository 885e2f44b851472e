#include "editing/RCSceneItemCommand_Update.h"

#include "model/RCScene.h"
#include "model/RCSceneManager.h"

namespace {

IRCObject* findItem(const QString& sceneId, const QString& itemId)
{
    RCScene* scene = RCSceneManager::instance()->getScene(sceneId);
    return scene ? scene->getItemById(itemId) : nullptr;
}

} // namespace

RCSceneItemCommand_Update::RCSceneItemCommand_Update() = default;

RCSceneItemCommand_Update::RCSceneItemCommand_Update(const QString& sceneId, const QString& itemId,
                                                     const QString& name, const QVariant& value)
    : m_sceneId(sceneId), m_itemId(itemId), m_name(name), m_value(value)
{
}

bool RCSceneItemCommand_Update::execute()
{
    return changeProperty(findItem(m_sceneId, m_itemId), m_name, m_value, m_oldValue);
}

bool RCSceneItemCommand_Update::undo()
{
    IRCObject* item = findItem(m_sceneId, m_itemId);
    if (!item)
        return false;
    item->setPropertyValue(m_name, m_oldValue);
    return true;
}

QString RCSceneItemCommand_Update::typeName() const
{
    return QStringLiteral("RCSceneItemCommand_Update");
}

bool RCSceneItemCommand_Update::mergeWith(const RCCommand* other)
{
    if (!other || other->typeName() != typeName())
        return false;
    const auto* newer = dynamic_cast<const RCSceneItemCommand_Update*>(other);
    if (!newer || newer->m_sceneId != m_sceneId || newer->m_itemId != m_itemId || newer->m_name != m_name)
        return false;
    m_value = newer->m_value;
    return true;
}
