#pragma once

#include "model/IRCCppObject.h"

#include <QJsonObject>
#include <QString>
#include <QVariant>

class IRCPropertyDisplay;
class RCProperties;

// One named, typed, observable value of a document object, with what the property
// panel needs to show it. Lives in a property set (RCProperties), which owns it.
// GUI thread only; signals are delivered directly.
class IRCProperty : public IRCCppObject
{
    Q_OBJECT
public:
    explicit IRCProperty(QObject* parent = nullptr);

    Q_INVOKABLE virtual QString getName() const { return QString(); }
    Q_INVOKABLE virtual QString getDescription() const { return QString(); }
    Q_INVOKABLE virtual QVariant getValue() const { return QVariant(); }
    Q_INVOKABLE virtual bool setValue(QVariant) { return false; }
    Q_INVOKABLE virtual bool getReadOnly() const { return false; }
    Q_INVOKABLE virtual void setReadOnly(bool) {}
    Q_INVOKABLE virtual bool getVisible() const { return false; }
    Q_INVOKABLE virtual void setVisible(bool) {}
    Q_INVOKABLE virtual QString getUnit() const { return QString(); }
    Q_INVOKABLE virtual void setUnit(QString) {}
    Q_INVOKABLE virtual QVariant getOldValue() const { return QVariant(QString()); }
    Q_INVOKABLE virtual void setOwner(RCProperties*) {}
    Q_INVOKABLE virtual RCProperties* getOwner() const { return nullptr; }
    Q_INVOKABLE virtual IRCPropertyDisplay* getDisplay() const { return nullptr; }
    // A new property for owner; the caller takes ownership.
    Q_INVOKABLE virtual IRCProperty* copy(RCProperties*) const { return nullptr; }
    virtual QJsonObject toJson() const { return QJsonObject(); }
    virtual void fromJson(const QJsonObject&) {}

Q_SIGNALS:
    void valueChanged(QVariant value);
    void readOnlyChanged(bool bReadOnly);
    void visibleChanged(bool bVisible);
    void unitChanged(QString sUnit);
};
