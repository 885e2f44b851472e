#pragma once

#include "editing/RCCommand.h"

#include <QJsonObject>
#include <QPoint>
#include <QString>

// Removes a scene item; undo rebuilds it from its JSON form under its old id, at its old place in
// the scene's order and its old position, unfocused.
class RCSceneItemCommand_Remove : public RCCommand
{
public:
    RCSceneItemCommand_Remove();
    RCSceneItemCommand_Remove(const QString& sceneId, const QString& itemId);

    bool execute() override;
    // False when nothing was removed or the scene meanwhile holds an item of the same id.
    bool undo() override;
    QString typeName() const override;

private:
    QString m_sceneId;
    QString m_itemId;
    QJsonObject m_itemJson;
    QPoint m_pos;
    int m_index = -1;
    bool m_removed = false;
};
