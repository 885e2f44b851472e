#pragma once

// Shared set-up of the editing tests: a clean document and undo history per test, an injected
// clock, and item descriptions as the control list hands them over (no "Id" record).

#include "editing/RCCommandManager.h"
#include "model/RCKeys.h"
#include "model/RCSceneItem.h"
#include "model/RCSceneManager.h"

#include <QJsonArray>
#include <QJsonObject>

namespace editing_fixture {

inline qint64& fakeNow()
{
    static qint64 now = 1000000;
    return now;
}

// Empties the scene list and the undo and redo histories; commands are stamped by fakeNow().
inline void resetDocument()
{
    RCCommandManager::instance()->setClock([] { return fakeNow(); });
    RCSceneManager::instance()->fromJson(QJsonObject());
    RCCommandManager::instance()->clear();
    fakeNow() += 100000;
}

// An item description without an "Id" record, like a control's instantiation parameters.
inline QJsonObject itemTemplate(const QString& name, int x = 10, int y = 20)
{
    RCSceneItem item;
    item.setPropertyValue(RCKeys::Name(), name);
    item.setPos(QPoint(x, y));
    QJsonArray records;
    for (const QJsonValue record : item.toJson().value(QStringLiteral("propertyArray")).toArray()) {
        if (record.toObject().value(QStringLiteral("name")).toString() != RCKeys::Id())
            records.append(record);
    }
    return QJsonObject{{QStringLiteral("propertyArray"), records}};
}

// Undoes everything; answers the number of steps.
inline int undoAll()
{
    int steps = 0;
    while (RCCommandManager::instance()->canUndo()) {
        RCCommandManager::instance()->undo();
        ++steps;
    }
    return steps;
}

} // namespace editing_fixture
