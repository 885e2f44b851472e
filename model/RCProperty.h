#pragma once

#include "model/IRCProperty.h"

class RCPropertyDisplay;

// The property of every document object. Record:
// {"name", "description", "readonly", "visible", "unit", "value", "display": {"type", "data"}}.
// Has no QObject parent: its set deletes it; it owns its display descriptor, which it
// creates on the first getDisplay() or when a record brings display data (until then the
// display type is kept here, which spares the memory of a descriptor for most rows).
class RCProperty : public IRCProperty
{
    Q_OBJECT
public:
    // The fields of a stored record, read in one pass over its keys (a lookup per key would cost
    // a search of the record each); an absent or mistyped key gives the field's empty value.
    struct Record
    {
        explicit Record(const QJsonObject& json);

        QString name;
        QString description;
        QString unit;
        QJsonValue value{QJsonValue::Undefined};
        QJsonObject display;
        // The display's "type", and whether its "data" is a non-empty object.
        int displayType = 0;
        bool displayHasData = false;
        bool readOnly = false;
        bool visible = false;
        // The record as read.
        QJsonObject source;
    };

    // All fields empty, then the record read as fromJson does.
    RCProperty(const QJsonObject& record, RCProperties* owner);
    RCProperty(const Record& record, RCProperties* owner);
    RCProperty(const QString& name, const QString& description, bool readOnly, bool visible,
               const QString& unit, int displayType, const QVariant& value, RCProperties* owner);
    ~RCProperty() override;

    QString getName() const override;
    QString getDescription() const override;
    QVariant getValue() const override;
    // Refused (false, nothing emitted) while read-only, when equal to the current value or when
    // nested deeper than kMaxValueNesting (it could not be read back from a saved document).
    // A value that arrives from QML as a script value is stored unwrapped.
    bool setValue(QVariant value) override;
    bool getReadOnly() const override;
    void setReadOnly(bool bReadOnly) override;
    bool getVisible() const override;
    void setVisible(bool bVisible) override;
    QString getUnit() const override;
    void setUnit(QString sUnit) override;
    QVariant getOldValue() const override;
    void setOwner(RCProperties* owner) override;
    RCProperties* getOwner() const override;
    // Never null.
    IRCPropertyDisplay* getDisplay() const override;
    // The display type, without creating the descriptor.
    int displayType() const;
    // The set that holds this row: its change signals go out there first, as the set's own,
    // before the row's own signals (a set relays other property types through connections,
    // which would cost four per row).
    void relayTo(RCProperties* set);
    // Copies name, description, value, flags, unit and display type; not the display data.
    IRCProperty* copy(RCProperties* owner) const override;
    QJsonObject toJson() const override;
    // Reads every field, an absent key giving its empty value; bypasses read-only and
    // emits nothing. A value that cannot be read keeps the current value. A declared text
    // row (a QString value shown as text, or a row its owner's set names as text) takes stored
    // text as it stands, also text that looks typed; any other row reads typed text as its value.
    void fromJson(const QJsonObject& jsObj) override;
    // fromJson of a record already read.
    void fromRecord(const Record& record);

protected:
    // The row emits its own change signals only once something has connected to it; until then
    // a change reaches its listeners through the set alone, without touching the row's QObject
    // internals (most rows are never connected to).
    void connectNotify(const QMetaMethod& signal) override;

private:
    RCProperties* m_owner = nullptr;
    RCProperties* m_relay = nullptr;
    QString m_name;
    QString m_description;
    QVariant m_value;
    QVariant m_oldValue;
    bool m_readOnly = false;
    QString m_unit;
    mutable RCPropertyDisplay* m_display = nullptr;
    bool m_visible = false;
    int m_displayType = 0; // meaningful only while m_display is null
    // Declared by the program with a text value and a text display: stored text is its text.
    bool m_declaredText = false;
    bool m_connected = false; // set on the first connection to any of the row's signals, never cleared
};
