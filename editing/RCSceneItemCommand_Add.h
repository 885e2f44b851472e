#pragma once

#include "editing/RCCommand.h"

#include <QJsonObject>
#include <QPoint>
#include <QString>

// Adds a scene item built from an item description ({"propertyArray": [...]}). The first run
// writes the id it gave the item back into the description, so every redo recreates the item
// under that same id and later steps that name it still apply.
class RCSceneItemCommand_Add : public RCCommand
{
public:
    RCSceneItemCommand_Add();
    RCSceneItemCommand_Add(const QString& sceneId, const QJsonObject& itemJson);

    // False, and nothing added, when the scene is missing or already holds an item of that id.
    bool execute() override;
    // Keeps the item's position, so that a redo puts it back where it was when it was undone.
    bool undo() override;
    QString typeName() const override;

    // Id of the item the last run created; "" before the first run.
    QString getItemId() const;

private:
    QString m_sceneId;
    QJsonObject m_itemJson;
    QString m_itemId;
    QPoint m_pos;
    bool m_hasPos = false; // m_pos was taken by an undo; (0, 0) is a real position
};
