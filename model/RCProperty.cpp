#include "model/RCProperty.h"

#include "model/RCProperties.h"
#include "model/RCKeys.h"
#include "model/RCPropertyDisplay.h"
#include "model/RCScriptValue.h"
#include "model/RCTypedValue.h"

#include <QDebug>
#include <QSet>

#include <array>

namespace {

const QString kName = QStringLiteral("name");
const QString kDescription = QStringLiteral("description");
const QString kReadOnly = QStringLiteral("readonly");
const QString kVisible = QStringLiteral("visible");
const QString kUnit = QStringLiteral("unit");
const QString kValue = QStringLiteral("value");
const QString kDisplay = QStringLiteral("display");
const QString kType = QStringLiteral("type");
const QString kData = QStringLiteral("data");


// The program's own copy of a key's text when name is one of the shared keys, else name: the
// rows of a loaded document then share the static text of their names instead of holding one
// copy per row.
QString sharedKeyText(const QString& name)
{
    static const QSet<QString> keys = [] {
        const QStringList all = RCKeys::allKeys();
        return QSet<QString>(all.cbegin(), all.cend());
    }();
    const auto it = keys.constFind(name);
    return it == keys.cend() ? name : *it;
}

// The keys of a record in their sorted order, which is the order of its entries.
enum RecordField
{
    FieldDescription,
    FieldDisplay,
    FieldName,
    FieldReadOnly,
    FieldUnit,
    FieldValue,
    FieldVisible,
    FieldCount
};

// Every key of a record with an empty value. A row copies it and fills the values in place,
// which spares the lookup and the conversion of each key that inserting them one by one costs.
const QJsonObject& recordTemplate()
{
    static const QJsonObject record = [] {
        const QJsonObject made{{kDescription, QString()}, {kDisplay, QJsonObject()}, {kName, QString()},
                               {kReadOnly, false},        {kUnit, QString()},       {kValue, QJsonValue()},
                               {kVisible, false}};
        Q_ASSERT(made.size() == FieldCount);
        Q_ASSERT((made.constBegin() + FieldUnit).key() == kUnit);
        return made;
    }();
    return record;
}

QJsonObject makePlainDisplay(int type)
{
    QJsonObject display;
    display.insert(kData, QJsonObject());
    display.insert(kType, type);
    return display;
}

// {"data": {}, "type": type}: the display record of a row without display data; shared for the
// declared display types.
QJsonObject plainDisplay(int type)
{
    constexpr int kShared = IRCPropertyDisplay::EIRCPropertyDisplayType_MacAddress + 1;
    static const std::array<QJsonObject, kShared> shared = [] {
        std::array<QJsonObject, kShared> made;
        for (int i = 0; i < kShared; ++i)
            made[size_t(i)] = makePlainDisplay(i);
        return made;
    }();
    return type >= 0 && type < kShared ? shared[size_t(type)] : makePlainDisplay(type);
}

} // namespace

RCProperty::RCProperty(const QJsonObject& record, RCProperties* owner) : RCProperty(Record(record), owner) {}

RCProperty::RCProperty(const Record& record, RCProperties* owner) : IRCProperty(nullptr), m_owner(owner)
{
    fromRecord(record);
}

RCProperty::RCProperty(const QString& name, const QString& description, bool readOnly, bool visible,
                       const QString& unit, int displayType, const QVariant& value, RCProperties* owner)
    : IRCProperty(nullptr), m_owner(owner), m_name(name), m_description(description), m_value(value),
      m_readOnly(readOnly), m_unit(unit), m_visible(visible), m_displayType(displayType),
      m_declaredText(value.typeId() == QMetaType::QString && RCPropertyDisplay::editsText(displayType))
{
}

RCProperty::~RCProperty()
{
    delete m_display;
}

QString RCProperty::getName() const
{
    return m_name;
}

QString RCProperty::getDescription() const
{
    return m_description;
}

QVariant RCProperty::getValue() const
{
    return m_value;
}

bool RCProperty::setValue(QVariant value)
{
    if (m_readOnly) {
        return false;
    }
    const QVariant plain = unwrapScriptValue(value);
    if (plain == m_value) {
        return false;
    }
    if (exceedsValueNesting(plain)) {
        qWarning().noquote() << "RCProperty::setValue refused a value of" << m_name << "nested deeper than"
                             << kMaxValueNesting << "levels";
        return false;
    }
    m_oldValue = m_value;
    m_value = plain;
    if (m_relay && !signalsBlocked())
        m_relay->relayValueChanged(this, m_name, m_value);
    if (m_connected)
        Q_EMIT valueChanged(m_value);
    return true;
}

bool RCProperty::getReadOnly() const
{
    return m_readOnly;
}

void RCProperty::setReadOnly(bool bReadOnly)
{
    if (bReadOnly == m_readOnly) {
        return;
    }
    m_readOnly = bReadOnly;
    if (m_relay && m_relay->isConnected() && !signalsBlocked())
        Q_EMIT m_relay->propertyReadOnlyChanged(this, bReadOnly);
    if (m_connected)
        Q_EMIT readOnlyChanged(bReadOnly);
}

bool RCProperty::getVisible() const
{
    return m_visible;
}

void RCProperty::setVisible(bool bVisible)
{
    if (bVisible == m_visible) {
        return;
    }
    m_visible = bVisible;
    if (m_relay && m_relay->isConnected() && !signalsBlocked())
        Q_EMIT m_relay->propertyVisibleChanged(this, bVisible);
    if (m_connected)
        Q_EMIT visibleChanged(bVisible);
}

QString RCProperty::getUnit() const
{
    return m_unit;
}

void RCProperty::setUnit(QString sUnit)
{
    if (sUnit == m_unit) {
        return;
    }
    m_unit = sUnit;
    if (m_relay && m_relay->isConnected() && !signalsBlocked())
        Q_EMIT m_relay->propertyUnitChanged(this, sUnit);
    if (m_connected)
        Q_EMIT unitChanged(sUnit);
}

QVariant RCProperty::getOldValue() const
{
    return m_oldValue;
}

void RCProperty::connectNotify(const QMetaMethod&)
{
    m_connected = true;
}

void RCProperty::relayTo(RCProperties* set)
{
    m_relay = set;
}

void RCProperty::setOwner(RCProperties* owner)
{
    m_owner = owner;
}

RCProperties* RCProperty::getOwner() const
{
    return m_owner;
}

IRCPropertyDisplay* RCProperty::getDisplay() const
{
    if (!m_display) {
        m_display = new RCPropertyDisplay;
        m_display->setType(IRCPropertyDisplay::EIRCPropertyDisplayType(m_displayType));
    }
    return m_display;
}

int RCProperty::displayType() const
{
    return m_display ? int(m_display->getType()) : m_displayType;
}

IRCProperty* RCProperty::copy(RCProperties* owner) const
{
    auto* copy =
        new RCProperty(m_name, m_description, m_readOnly, m_visible, m_unit, displayType(), m_value, owner);
    copy->m_declaredText = m_declaredText;
    return copy;
}

QJsonObject RCProperty::toJson() const
{
    bool ok = true;
    QJsonValue value = variantToJsonValue(m_value, &ok);
    if (!ok) {
        qWarning().noquote() << "RCProperty::toJson cannot write the value of" << m_name << "of type"
                             << m_value.typeName() << ", written as null";
        value = QJsonValue(QJsonValue::Null);
    }
    QJsonObject record = recordTemplate();
    const QJsonObject::iterator field = record.begin(); // the one copy of the template's keys
    field[FieldDescription] = m_description;
    field[FieldDisplay] = m_display ? m_display->toJson() : plainDisplay(m_displayType);
    field[FieldName] = m_name;
    field[FieldReadOnly] = m_readOnly;
    if (!m_unit.isEmpty())
        field[FieldUnit] = m_unit;
    field[FieldValue] = value;
    field[FieldVisible] = m_visible;
    return record;
}

// One pass over the record's entries: a project holds tens of thousands of records, and a look-up
// per field searches the object once for each of them.
RCProperty::Record::Record(const QJsonObject& json) : source(json)
{
    for (auto it = json.constBegin(), end = json.constEnd(); it != end; ++it) {
        const QString key = it.key();
        if (key == kName)
            name = it.value().toString();
        else if (key == kDescription)
            description = it.value().toString();
        else if (key == kUnit)
            unit = it.value().toString();
        else if (key == kValue)
            value = it.value();
        else if (key == kDisplay)
            display = it.value().toObject();
        else if (key == kReadOnly)
            readOnly = it.value().toBool();
        else if (key == kVisible)
            visible = it.value().toBool();
    }
    name = sharedKeyText(name);
    // The display's type and whether it carries data, read once here for the row.
    for (auto it = display.constBegin(), end = display.constEnd(); it != end; ++it) {
        const QString key = it.key();
        if (key == kType)
            displayType = it.value().toInt();
        else if (key == kData)
            displayHasData = !it.value().toObject().isEmpty();
    }
}

void RCProperty::fromJson(const QJsonObject& jsObj)
{
    fromRecord(Record(jsObj));
}

void RCProperty::fromRecord(const Record& record)
{
    // A held row keeps its own copy of an equal name: the program's rows share one copy of each
    // key, which a document of thousands of items would otherwise hold once per row.
    if (m_name != record.name)
        m_name = record.name;
    m_description = record.description;
    m_readOnly = record.readOnly;
    m_visible = record.visible;
    m_unit = record.unit;
    // A row that the program declares as text reads text as it stands ("#Size#10" typed by a
    // user stays text), whatever value an earlier record left in it. A row that came with a
    // record has no type of its own: its set says whether the owner's kind declares it as text.
    // Other rows read typed text as their value.
    const bool text = m_declaredText || (m_owner && m_owner->isTextRow(m_name));
    bool ok = true;
    const QVariant value = text ? jsonValueToText(record.value, &ok) : jsonValueToVariant(record.value, &ok);
    if (ok) {
        m_value = value;
    } else {
        qWarning().noquote() << "RCProperty::fromJson cannot read the value of" << m_name
                             << ", the value is kept";
    }
    if (m_display || record.displayHasData) {
        getDisplay()->fromJson(record.display);
    } else {
        m_displayType = record.displayType;
    }
}
