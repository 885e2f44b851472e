#pragma once

#include <QString>
#include <QVariant>

class IRCObject;

// Told of the property value changes of the document objects it watches (IRCObject::addWatcher)
// by a plain call, before the object's propertyValueChanged signal goes out: a container of
// thousands of objects follows them without a connection per object, and a change of an object
// nothing else listens to touches none of its QObject internals. GUI thread only.
class IRCObjectWatcher
{
public:
    virtual ~IRCObjectWatcher();

    // object's property name took value; tag is the one the watcher gave to addWatcher. The
    // watcher may change the object's properties from here (the change is announced in turn).
    virtual void watchedValueChanged(IRCObject* object, const QString& tag, const QString& name,
                                     const QVariant& value) = 0;
};
