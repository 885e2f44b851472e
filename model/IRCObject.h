#pragma once

#include "model/IRCCppObject.h"
#include "model/eIRCObjectType.h"

#include <QJsonObject>
#include <QString>
#include <QVariant>

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

Q_SIGNALS:
    // One of the object's properties took a new value.
    void propertyValueChanged(QString sName, QVariant value);
    // Emitted by a container on itself with the object it is about to delete, after the object has
    // left the registry.
    void destorySelf(IRCObject*);
};
