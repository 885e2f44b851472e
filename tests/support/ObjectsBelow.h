#pragma once

#include <QList>
#include <QObject>
#include <QQuickItem>
#include <QSet>

// The objects below root: its QObject children and, for an item, its visual children (a
// repeater's delegates are only those), each counted once, all the way down; 0 for no root.
inline int objectsBelow(QObject* root)
{
    QSet<QObject*> seen;
    QList<QObject*> todo;
    if (root)
        todo.append(root);
    while (!todo.isEmpty()) {
        QObject* object = todo.takeLast();
        QList<QObject*> below = object->children();
        if (auto* item = qobject_cast<QQuickItem*>(object)) {
            for (QQuickItem* child : item->childItems())
                below.append(child);
        }
        for (QObject* child : std::as_const(below)) {
            if (!seen.contains(child)) {
                seen.insert(child);
                todo.append(child);
            }
        }
    }
    return int(seen.size());
}
