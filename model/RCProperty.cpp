#include "model/RCProperty.h"

#include "model/RCProperties.h"
#include "model/RCPropertyDisplay.h"
#include "model/RCScriptValue.h"
#include "model/RCTypedValue.h"

#include <QDebug>

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

} // namespace

RCProperty::RCProperty(const QJsonObject& record, RCProperties* owner) : IRCProperty(nullptr), m_owner(owner)
{
    fromJson(record);
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
    if (m_relay && !signalsBlocked())
        Q_EMIT m_relay->propertyReadOnlyChanged(this, bReadOnly);
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
    if (m_relay && !signalsBlocked())
        Q_EMIT m_relay->propertyVisibleChanged(this, bVisible);
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
    if (m_relay && !signalsBlocked())
        Q_EMIT m_relay->propertyUnitChanged(this, sUnit);
    Q_EMIT unitChanged(sUnit);
}

QVariant RCProperty::getOldValue() const
{
    return m_oldValue;
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
    // Keys in their sorted order: each insert appends, nothing is shifted.
    QJsonObject record;
    record.insert(kDescription, m_description);
    if (m_display) {
        record.insert(kDisplay, m_display->toJson());
    } else {
        QJsonObject display;
        display.insert(kData, QJsonObject());
        display.insert(kType, m_displayType);
        record.insert(kDisplay, display);
    }
    record.insert(kName, m_name);
    record.insert(kReadOnly, m_readOnly);
    record.insert(kUnit, m_unit);
    record.insert(kValue, value);
    record.insert(kVisible, m_visible);
    return record;
}

void RCProperty::fromJson(const QJsonObject& jsObj)
{
    m_name = jsObj.value(kName).toString();
    m_description = jsObj.value(kDescription).toString();
    m_readOnly = jsObj.value(kReadOnly).toBool();
    m_visible = jsObj.value(kVisible).toBool();
    m_unit = jsObj.value(kUnit).toString();
    // A row that the program declares as text reads text as it stands ("#Size#10" typed by a
    // user stays text), whatever value an earlier record left in it. A row that came with a
    // record has no type of its own: its set says whether the owner's kind declares it as text.
    // Other rows read typed text as their value.
    const bool text = m_declaredText || (m_owner && m_owner->isTextRow(m_name));
    bool ok = true;
    const QVariant value =
        text ? jsonValueToText(jsObj.value(kValue), &ok) : jsonValueToVariant(jsObj.value(kValue), &ok);
    if (ok) {
        m_value = value;
    } else {
        qWarning().noquote() << "RCProperty::fromJson cannot read the value of" << m_name
                             << ", the value is kept";
    }
    const QJsonObject display = jsObj.value(kDisplay).toObject();
    if (m_display || !display.value(kData).toObject().isEmpty()) {
        getDisplay()->fromJson(display);
    } else {
        m_displayType = display.value(kType).toInt();
    }
}
