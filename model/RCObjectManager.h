#pragma once

#include "model/IRCCppObject.h"
#include "model/IRCObjectWatcher.h"

#include <QHash>
#include <QString>
#include <QVariant>

class IRCObject;

// Process-wide registry of the live scenes and scene items by id, and owner of the single focus.
//
// Does not own the objects: scenes own their items, the scene manager owns the scenes. Containers
// call addObject() when they take an object in and removeObject() before they delete it. The focus
// is always null or a registered object: it follows the objects' "Focus" property and is dropped
// when the focused object is removed or destroyed.
//
// Created on first use, never deleted. GUI thread only.
class RCObjectManager : public IRCCppObject, private IRCObjectWatcher
{
    Q_OBJECT
public:
    static RCObjectManager* instance();

    // Registers obj under its current id. A null object or an id already taken is logged and
    // ignored; the object arrives with its focus cleared.
    void addObject(IRCObject* obj);
    // Unregisters obj when it is the object registered under its id (or under an id it held when it
    // was added). Clears the focus when obj has it.
    void removeObject(IRCObject* obj);
    // The registered object, or null.
    IRCObject* getObject(const QString& id) const;

Q_SIGNALS:
    // Id of the newly focused object, or an empty string when no object has the focus.
    void objectFocusChanged(QString id);

private Q_SLOTS:
    void onObjectDestroyed(QObject* obj);

private:
    // Follows the "Focus" of every registered object.
    void watchedValueChanged(IRCObject* obj, const QString& tag, const QString& sName,
                             const QVariant& value) override;
    explicit RCObjectManager(QObject* parent = nullptr);
    void setFocusedObject(IRCObject* obj);
    // Removes the entry that maps to obj; false when obj is not registered.
    bool forget(IRCObject* obj, const QString& id);

    QHash<QString, IRCObject*> m_objects;
    IRCObject* m_focusedObject = nullptr;
};
