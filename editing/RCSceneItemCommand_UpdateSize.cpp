#include "editing/RCSceneItemCommand_UpdateSize.h"

#include "model/RCSceneItem.h"
#include "model/RCSceneManager.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcSizeCommand, "sceneItem.command", QtInfoMsg)

RCSceneItemCommand_UpdateSize::RCSceneItemCommand_UpdateSize() = default;

RCSceneItemCommand_UpdateSize::RCSceneItemCommand_UpdateSize(const QString& sceneId, const QString& itemId,
                                                             const QSize& size)
    : m_sceneId(sceneId), m_itemId(itemId), m_size(size)
{
}

bool RCSceneItemCommand_UpdateSize::execute()
{
    RCSceneItem* item = RCSceneManager::instance()->getSceneItem(m_sceneId, m_itemId);
    if (!item)
        return false;
    m_oldSize = item->getSize();
    qCDebug(lcSizeCommand) << "Execute old size" << m_oldSize;
    item->setSize(m_size);
    return true;
}

bool RCSceneItemCommand_UpdateSize::undo()
{
    RCSceneItem* item = RCSceneManager::instance()->getSceneItem(m_sceneId, m_itemId);
    if (!item)
        return false;
    qCDebug(lcSizeCommand) << "Undo old size" << m_oldSize;
    m_size = item->getSize();
    item->setSize(m_oldSize);
    return true;
}

QString RCSceneItemCommand_UpdateSize::typeName() const
{
    return QStringLiteral("RCSceneItemCommand_UpdateSize");
}
