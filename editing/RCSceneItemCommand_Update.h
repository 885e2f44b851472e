#pragma once

#include "editing/RCCommand.h"

#include <QString>
#include <QVariant>

// Sets one property of a scene item. Quick successive updates of the same property of the same
// item merge into one step that undoes to the value from before the first of them.
class RCSceneItemCommand_Update : public RCCommand
{
public:
    RCSceneItemCommand_Update();
    RCSceneItemCommand_Update(const QString& sceneId, const QString& itemId, const QString& name,
                              const QVariant& value);

    // False, and nothing recorded, when the scene or item is missing or the property does not
    // change (same value, read-only or unknown property).
    bool execute() override;
    bool undo() override;
    QString typeName() const override;
    bool mergeWith(const RCCommand* other) override;

private:
    QString m_sceneId;
    QString m_itemId;
    QString m_name;
    QVariant m_value;
    QVariant m_oldValue;
};
