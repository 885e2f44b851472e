#include "editing/RCSceneItemCommand_UpdatePos.h"

#include "model/RCSceneItem.h"
#include "model/RCSceneManager.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcPosCommand, "sceneItem.command", QtInfoMsg)

RCSceneItemCommand_UpdatePos::RCSceneItemCommand_UpdatePos() = default;

RCSceneItemCommand_UpdatePos::RCSceneItemCommand_UpdatePos(const QString& sceneId, const QString& itemId,
                                                           const QPoint& pos)
    : m_sceneId(sceneId), m_itemId(itemId), m_pos(pos)
{
}

bool RCSceneItemCommand_UpdatePos::execute()
{
    RCSceneItem* item = RCSceneManager::instance()->getSceneItem(m_sceneId, m_itemId);
    if (!item)
        return false;
    m_oldPos = item->getPos();
    qCDebug(lcPosCommand) << "Execute old pos" << m_oldPos;
    item->setPos(m_pos);
    return true;
}

bool RCSceneItemCommand_UpdatePos::undo()
{
    RCSceneItem* item = RCSceneManager::instance()->getSceneItem(m_sceneId, m_itemId);
    if (!item)
        return false;
    qCDebug(lcPosCommand) << "Undo old pos" << m_oldPos;
    m_pos = item->getPos();
    item->setPos(m_oldPos);
    return true;
}

QString RCSceneItemCommand_UpdatePos::typeName() const
{
    return QStringLiteral("RCSceneItemCommand_UpdatePos");
}
