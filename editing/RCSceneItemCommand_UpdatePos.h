#pragma once

#include "editing/RCCommand.h"

#include <QPoint>
#include <QString>

// Sets the pos of a scene item. Recorded also when the pos does not change; never merges.
// Undo keeps the pos the item had then as the redo target, so a redo restores the final pos
// even when the item was changed further without a record after this command ran.
class RCSceneItemCommand_UpdatePos : public RCCommand
{
public:
    RCSceneItemCommand_UpdatePos();
    RCSceneItemCommand_UpdatePos(const QString& sceneId, const QString& itemId, const QPoint& pos);

    bool execute() override;
    bool undo() override;
    QString typeName() const override;

private:
    QString m_sceneId;
    QString m_itemId;
    QPoint m_pos;
    QPoint m_oldPos;
};
