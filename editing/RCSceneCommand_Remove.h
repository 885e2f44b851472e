#pragma once

#include "editing/RCCommand.h"

#include <QJsonObject>
#include <QString>

// Removes a scene; undo rebuilds it from its JSON form (id, properties, items) at its old index.
class RCSceneCommand_Remove : public RCCommand
{
public:
    RCSceneCommand_Remove();
    explicit RCSceneCommand_Remove(const QString& sceneId);

    bool execute() override;
    // False when nothing was removed, or when the manager meanwhile holds a scene of the same id.
    bool undo() override;
    QString typeName() const override;

private:
    QString m_sceneId;
    QString m_name;
    QString m_iconPath;
    QString m_backgroundImg;
    int m_index = -1; // -1: nothing removed (at first and after an undo)
    QJsonObject m_sceneJson;
};
