#pragma once

#include "model/IRCCppObject.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QSet>
#include <QStringList>
#include <QVariant>

class IRCObject;
class IRCProperty;

// The ordered, name-keyed set of the properties of one document object, written as a
// "propertyArray". Owns its properties and relays their changes as its own signals.
// Created without a QObject parent by the object it belongs to, which deletes it.
// GUI thread only.
class RCProperties : public IRCCppObject
{
    Q_OBJECT
public:
    explicit RCProperties(QObject* parent = nullptr);
    ~RCProperties() override;

    IRCProperty* getProperty(const QString& name) const;
    // Null for an index outside 0 .. count - 1.
    IRCProperty* getPropertyAt(int index) const;
    int count() const;
    // Invalid when no property has the name.
    QVariant getPropertyValue(const QString& name) const;
    // False only when no property has the name; true also when the property refused the value.
    bool setPropertyValue(const QString& name, const QVariant& value);

    // Takes ownership of p and appends it; a held property of the same name is removed
    // (and deleted) first. Adding the held property itself again changes nothing.
    IRCProperty* addProperty(IRCProperty* p);
    // Null, and nothing created, unless the record holds "name", "description", "readonly",
    // "visible", "unit" and "value"; "display" is optional.
    IRCProperty* addProperty(const QJsonObject& record);
    IRCProperty* addProperty(const QString& key, const QString& description, bool readOnly, bool visible,
                             const QString& unit, int displayType, const QVariant& value);
    void removeProperty(const QString& name);

    QJsonArray toJson() const;
    // Merge: a held property of an element's name reads the element in place (read-only
    // bypassed, nothing emitted); an element of a new name is appended. Always true.
    bool fromJson(const QJsonArray& array);

    // Writes a held property's value as a stored record would: past the read-only flag,
    // emitting nothing. False when no property has the name.
    bool storeValue(const QString& name, const QVariant& value);
    // For the objects identified by their "Id" row: makes the row read-only and, when its value
    // is empty, stores a new braced QUuid in it. Nothing when there is no "Id" row.
    void enforceId();
    // Stores a new braced QUuid in the "Id" row as storeValue does and answers it.
    QString renewId();

    // The names of the rows that the owner's kind declares as text. A row of such a name that is
    // made or read from a record takes stored text as it stands, as a row declared with a text
    // value does (a record carries no type of its own). Replaces the earlier names.
    void setTextRows(const QSet<QString>& names);
    bool isTextRow(const QString& name) const;

    // The document object that owns this set: each value change also goes out as the owner's
    // propertyValueChanged(name, value), right after this set's own signal, which spares the
    // owner a connection of its own.
    void relayValuesTo(IRCObject* owner);
    // Announces a value change of a held property: this set's signal, then the owner's.
    void relayValueChanged(IRCProperty* p, const QString& name, const QVariant& value);

Q_SIGNALS:
    void propertyValueChanged(IRCProperty* pProp, QVariant var);
    void propertyReadOnlyChanged(IRCProperty* pProp, bool bReadOnly);
    void propertyVisibleChanged(IRCProperty* pProp, bool bVisible);
    void propertyUnitChanged(IRCProperty* pProp, QString sUnit);
    void propretyAdded(IRCProperty* pProp);
    // The property is deleted right after this signal returns.
    void propertyRemoved(IRCProperty* pProp);

private:
    QHash<QString, IRCProperty*> m_byName;
    IRCObject* m_valueOwner = nullptr;
    QStringList m_names;
    QSet<QString> m_textRows;
};
