#pragma once

#include "editing/RCCommand.h"

#include <QString>
#include <QVariant>

// Sets one property of a scene. Quick successive updates of the same property of the same scene
// merge into one step that undoes to the value from before the first of them.
class RCSceneCommand_Update : public RCCommand
{
public:
    RCSceneCommand_Update();
    RCSceneCommand_Update(const QString& sceneId, const QString& name, const QVariant& value);

    // False, and nothing recorded, when the scene is missing or the property does not change
    // (same value, read-only or unknown property).
    bool execute() override;
    bool undo() override;
    QString typeName() const override;
    bool mergeWith(const RCCommand* other) override;

private:
    QString m_sceneId;
    QString m_name;
    QVariant m_value;
    QVariant m_oldValue;
};
