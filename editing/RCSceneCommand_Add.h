#pragma once

#include "editing/RCCommand.h"

#include <QJsonObject>
#include <QString>

// Adds a scene to the scene manager. The first run keeps the JSON form of the scene it made, and
// each undo the form the scene had when it went, so that every redo recreates the same scene
// (same id, same content, including unrecorded changes made after the add) at the same index.
class RCSceneCommand_Add : public RCCommand
{
public:
    RCSceneCommand_Add();
    RCSceneCommand_Add(const QString& name, const QString& iconPath, const QString& backgroundImg,
                       int index = -1);

    // False, and nothing added, when the manager already holds a scene of the id to be added.
    bool execute() override;
    bool undo() override;
    QString typeName() const override;

    // Id of the scene this command made while that scene is in the manager, else "".
    QString getSceneId() const;

private:
    QString m_name;
    QString m_iconPath;
    QString m_backgroundImg;
    int m_index = -1;
    QString m_sceneId;
    QJsonObject m_sceneJson;
};
