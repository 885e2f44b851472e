#pragma once

#include "model/IRCCppObject.h"
#include "model/RCProperty.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QSet>
#include <QStringList>
#include <QVarLengthArray>
#include <QVariant>

#include <vector>

class IRCObject;
class IRCProperty;

// The ordered, name-keyed set of the properties of one document object, written as a
// "propertyArray". Owns its properties and relays their changes as its own signals.
// Created without a QObject parent by the object it belongs to, which deletes it (or holds it
// as a member).
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
    // As fromJson, from the records of the elements (RCProperty::Record), in order.
    void fromRecords(const std::vector<RCProperty::Record>& records);

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

    // The document object that owns this set: each value change is also announced by the owner
    // (IRCObject::announcePropertyValue), right after this set's own signal, which spares the
    // owner a connection of its own.
    void relayValuesTo(IRCObject* owner);
    // Announces a value change of a held property: this set's signal, then the owner's watchers
    // and signal.
    void relayValueChanged(IRCProperty* p, const QString& name, const QVariant& value);
    // Whether anything has ever connected to this set's signals. Until then the set emits no
    // change signal of its held rows (a set of a scene item usually has no listener of its own),
    // and a change touches none of its QObject internals beyond the blocked flag.
    bool isConnected() const { return m_connected; }

protected:
    void connectNotify(const QMetaMethod& signal) override;

Q_SIGNALS:
    void propertyValueChanged(IRCProperty* pProp, QVariant var);
    void propertyReadOnlyChanged(IRCProperty* pProp, bool bReadOnly);
    void propertyVisibleChanged(IRCProperty* pProp, bool bVisible);
    void propertyUnitChanged(IRCProperty* pProp, QString sUnit);
    void propretyAdded(IRCProperty* pProp);
    // The property is deleted right after this signal returns.
    void propertyRemoved(IRCProperty* pProp);

private:
    // Up to this many rows a name is found by a scan of m_keys, which reads one cache line where a
    // hash would read three allocations; larger sets keep m_byName as well.
    static constexpr qsizetype kScannedRows = 32;

    // Merges one element as fromJson does.
    void mergeRecord(const RCProperty::Record& record);
    // The position of the row added under name; -1 when there is none.
    qsizetype indexOf(const QString& name) const;

    // Inline, and the fields a change reads first: a look-up reads the set itself, not further
    // allocations (an item's set lives inside the item).
    QVarLengthArray<uint, 16> m_keys;         // a fingerprint of each name, in row order
    QVarLengthArray<IRCProperty*, 16> m_rows; // in order; owned
    IRCObject* m_valueOwner = nullptr;
    bool m_connected = false;                 // never cleared
    QHash<QString, IRCProperty*> m_byName;    // empty while the set has at most kScannedRows rows
    QVarLengthArray<QString, 16> m_names;     // the names the rows were added under, in row order
    QSet<QString> m_textRows;
};
