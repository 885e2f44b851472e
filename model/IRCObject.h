#pragma once

#include "model/IRCCppObject.h"
#include "model/eIRCObjectType.h"

#include <QJsonObject>
#include <QString>
#include <QVarLengthArray>
#include <QVariant>

class IRCObjectWatcher;
class RCProperties;
// getProperties() hands the set to QML, which needs the complete type in the meta-object.
Q_MOC_INCLUDE("model/RCProperties.h")

// Interface of every document object (scene, scene item, control, control template and the two
// managers). The bodies here are the neutral defaults; implementations keep their state in their
// property set and override what applies to them. GUI thread only.
class IRCObject : public IRCCppObject
{
    Q_OBJECT
public:
    explicit IRCObject(QObject* parent = nullptr);
    ~IRCObject() override;

    Q_INVOKABLE virtual eIRCObjectType getObjectType() const;
    Q_INVOKABLE virtual QString getId() const;
    Q_INVOKABLE virtual void setPropertyValue(QString sName, QVariant var);
    Q_INVOKABLE virtual QVariant getPropertyValue(QString sName) const;
    // Not owned by the caller; lives as long as the object.
    Q_INVOKABLE virtual RCProperties* getProperties() const;
    Q_INVOKABLE virtual void setFocus(bool b);
    Q_INVOKABLE virtual QJsonObject toJson() const;
    Q_INVOKABLE virtual bool fromJson(QJsonObject jsObj);

    // Tells watcher of each property value change from now on, with tag (for example the id under
    // which the watcher holds this object). Not owned: a watcher removes itself before it stops
    // holding the object or is destroyed. A watcher added again keeps its place and first tag.
    void addWatcher(IRCObjectWatcher* watcher, const QString& tag = QString());
    void removeWatcher(IRCObjectWatcher* watcher);
    // Announces that property name took value: the watchers in the order they were added, then
    // propertyValueChanged. Nothing while the object's signals are blocked. Implementations
    // announce their changes through here, never by emitting the signal themselves. Neither a
    // watcher nor a receiver may delete the object meanwhile; a watcher added or removed meanwhile
    // may miss this change.
    void announcePropertyValue(const QString& name, const QVariant& value);

Q_SIGNALS:
    // One of the object's properties took a new value. Emitted only once something has connected
    // to it (watchers hear of every change without it).
    void propertyValueChanged(QString sName, QVariant value);
    // Emitted by a container on itself with the object it is about to delete, after the object has
    // left the registry.
    void destorySelf(IRCObject*);

protected:
    void connectNotify(const QMetaMethod& signal) override;

private:
    struct Watch
    {
        IRCObjectWatcher* watcher;
        QString tag;
    };
    // Inline: the watchers of a scene item are read on every change, next to the object itself.
    QVarLengthArray<Watch, 2> m_watchers;
    bool m_valueSignalConnected = false; // never cleared
};
