#include "model/RCProperties.h"

#include "model/IRCObject.h"
#include "model/IRCProperty.h"
#include "model/RCKeys.h"
#include "model/RCProperty.h"
#include "model/RCTypedValue.h"

#include <QSignalBlocker>
#include <QUuid>

namespace {

bool hasRequiredKeys(const QJsonObject& record)
{
    static const QString required[] = {QStringLiteral("name"),     QStringLiteral("description"),
                                       QStringLiteral("readonly"), QStringLiteral("visible"),
                                       QStringLiteral("unit"),     QStringLiteral("value")};
    for (const QString& key : required) {
        if (!record.contains(key)) {
            return false;
        }
    }
    return true;
}

} // namespace

RCProperties::RCProperties(QObject* parent) : IRCCppObject(parent) {}

RCProperties::~RCProperties()
{
    const QHash<QString, IRCProperty*> held = m_byName;
    m_byName.clear();
    m_names.clear();
    qDeleteAll(held);
}

IRCProperty* RCProperties::getProperty(const QString& name) const
{
    return m_byName.value(name, nullptr);
}

IRCProperty* RCProperties::getPropertyAt(int index) const
{
    if (index < 0 || index >= m_names.size()) {
        return nullptr;
    }
    return m_byName.value(m_names.at(index), nullptr);
}

int RCProperties::count() const
{
    return int(m_names.size());
}

QVariant RCProperties::getPropertyValue(const QString& name) const
{
    IRCProperty* p = getProperty(name);
    return p ? p->getValue() : QVariant();
}

bool RCProperties::setPropertyValue(const QString& name, const QVariant& value)
{
    IRCProperty* p = getProperty(name);
    if (!p) {
        return false;
    }
    p->setValue(value);
    return true;
}

IRCProperty* RCProperties::addProperty(IRCProperty* p)
{
    if (!p) {
        return nullptr;
    }
    const QString name = p->getName();
    if (IRCProperty* held = m_byName.value(name, nullptr)) {
        if (held == p) {
            return p;
        }
        removeProperty(name);
    }
    m_byName.insert(name, p);
    m_names.append(name);
    p->setOwner(this);
    if (auto* row = qobject_cast<RCProperty*>(p)) {
        row->relayTo(this);
    } else {
        connect(p, &IRCProperty::valueChanged, this,
                [this, p](const QVariant& value) { relayValueChanged(p, p->getName(), value); });
        connect(p, &IRCProperty::readOnlyChanged, this,
                [this, p](bool b) { Q_EMIT propertyReadOnlyChanged(p, b); });
        connect(p, &IRCProperty::visibleChanged, this,
                [this, p](bool b) { Q_EMIT propertyVisibleChanged(p, b); });
        connect(p, &IRCProperty::unitChanged, this,
                [this, p](const QString& unit) { Q_EMIT propertyUnitChanged(p, unit); });
    }
    Q_EMIT propretyAdded(p);
    return p;
}

IRCProperty* RCProperties::addProperty(const QJsonObject& record)
{
    if (!hasRequiredKeys(record)) {
        return nullptr;
    }
    return addProperty(new RCProperty(record, this));
}

IRCProperty* RCProperties::addProperty(const QString& key, const QString& description, bool readOnly,
                                       bool visible, const QString& unit, int displayType,
                                       const QVariant& value)
{
    return addProperty(new RCProperty(key, description, readOnly, visible, unit, displayType, value, this));
}

void RCProperties::removeProperty(const QString& name)
{
    IRCProperty* p = m_byName.take(name);
    if (!p) {
        return;
    }
    m_names.removeOne(name);
    Q_EMIT propertyRemoved(p);
    delete p;
}

QJsonArray RCProperties::toJson() const
{
    QJsonArray array;
    for (const QString& name : m_names) {
        array.append(m_byName.value(name)->toJson());
    }
    return array;
}

bool RCProperties::fromJson(const QJsonArray& array)
{
    for (const QJsonValue& element : array) {
        const QJsonObject json = element.toObject();
        const RCProperty::Record record(json);
        IRCProperty* held = m_byName.value(record.name, nullptr);
        if (auto* row = qobject_cast<RCProperty*>(held)) {
            row->fromRecord(record);
        } else if (held) {
            held->fromJson(json);
        } else {
            addProperty(new RCProperty(record, this));
        }
    }
    return true;
}

bool RCProperties::storeValue(const QString& name, const QVariant& value)
{
    IRCProperty* p = getProperty(name);
    if (!p) {
        return false;
    }
    QJsonObject record = p->toJson();
    record.insert(QStringLiteral("value"), variantToJsonValue(value));
    p->fromJson(record);
    return true;
}

void RCProperties::enforceId()
{
    IRCProperty* id = getProperty(RCKeys::Id());
    if (!id) {
        return;
    }
    if (!id->getReadOnly()) {
        const QSignalBlocker blocker(id);
        id->setReadOnly(true);
    }
    if (id->getValue().toString().isEmpty()) {
        renewId();
    }
}

QString RCProperties::renewId()
{
    const QString fresh = QUuid::createUuid().toString(QUuid::WithBraces);
    storeValue(RCKeys::Id(), fresh);
    return fresh;
}

void RCProperties::setTextRows(const QSet<QString>& names)
{
    m_textRows = names;
}

bool RCProperties::isTextRow(const QString& name) const
{
    return m_textRows.contains(name);
}

void RCProperties::relayValuesTo(IRCObject* owner)
{
    m_valueOwner = owner;
}

void RCProperties::relayValueChanged(IRCProperty* p, const QString& name, const QVariant& value)
{
    if (signalsBlocked())
        return;
    Q_EMIT propertyValueChanged(p, value);
    if (m_valueOwner)
        Q_EMIT m_valueOwner->propertyValueChanged(name, value);
}
