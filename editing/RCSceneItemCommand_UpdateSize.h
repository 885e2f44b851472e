#pragma once

#include "editing/RCCommand.h"

#include <QSize>
#include <QString>

// Sets the size of a scene item. Recorded also when the size does not change; never merges.
// Undo keeps the size the item had then as the redo target, so a redo restores the final size
// even when the item was changed further without a record after this command ran.
class RCSceneItemCommand_UpdateSize : public RCCommand
{
public:
    RCSceneItemCommand_UpdateSize();
    RCSceneItemCommand_UpdateSize(const QString& sceneId, const QString& itemId, const QSize& size);

    bool execute() override;
    bool undo() override;
    QString typeName() const override;

private:
    QString m_sceneId;
    QString m_itemId;
    QSize m_size;
    QSize m_oldSize;
};
