#pragma once

#include "editing/RCCommand.h"

#include <QString>

// Moves a scene to another place in the scene list; the list sees the scene removed and added
// again at the target index.
class RCSceneCommand_Move : public RCCommand
{
public:
    RCSceneCommand_Move();
    // toIndex: the place in the list without the moved scene; -1 appends.
    RCSceneCommand_Move(const QString& sceneId, int toIndex);

    bool execute() override;
    bool undo() override;
    QString typeName() const override;

private:
    QString m_sceneId;
    int m_toIndex = -1;
    int m_fromIndex = -1;
};
