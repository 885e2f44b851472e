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

uint fingerprint(const QString& name)
{
    return uint(qHash(name));
}

} // namespace

RCProperties::RCProperties(QObject* parent) : IRCCppObject(parent) {}

RCProperties::~RCProperties()
{
    const QList<IRCProperty*> held(m_rows.cbegin(), m_rows.cend());
    m_rows.clear();
    m_names.clear();
    m_keys.clear();
    m_byName.clear();
    qDeleteAll(held);
}

qsizetype RCProperties::indexOf(const QString& name) const
{
    if (!m_byName.isEmpty()) {
        const auto it = m_byName.constFind(name);
        return it == m_byName.cend() ? -1 : m_rows.indexOf(it.value());
    }
    // An item's fingerprints fit in a cache line or two; a name is compared only where its
    // fingerprint matches, usually once, and most names share the program's key text, so by
    // address.
    const uint key = fingerprint(name);
    for (qsizetype i = 0, n = m_keys.size(); i < n; ++i) {
        if (m_keys.at(i) != key)
            continue;
        const QString& held = m_names.at(i);
        if (held.size() == name.size() && (held.constData() == name.constData() || held == name))
            return i;
    }
    return -1;
}

IRCProperty* RCProperties::getProperty(const QString& name) const
{
    if (!m_byName.isEmpty())
        return m_byName.value(name, nullptr);
    const qsizetype index = indexOf(name);
    return index < 0 ? nullptr : m_rows.at(index);
}

IRCProperty* RCProperties::getPropertyAt(int index) const
{
    if (index < 0 || index >= m_rows.size()) {
        return nullptr;
    }
    return m_rows.at(index);
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
    if (IRCProperty* held = getProperty(name)) {
        if (held == p) {
            return p;
        }
        removeProperty(name);
    }
    m_names.append(name);
    m_keys.append(fingerprint(name));
    m_rows.append(p);
    if (!m_byName.isEmpty()) {
        m_byName.insert(name, p);
    } else if (m_rows.size() > kScannedRows) {
        m_byName.reserve(m_rows.size());
        for (qsizetype i = 0; i < m_rows.size(); ++i)
            m_byName.insert(m_names.at(i), m_rows.at(i));
    }
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
    const qsizetype index = indexOf(name);
    if (index < 0) {
        return;
    }
    IRCProperty* p = m_rows.at(index);
    m_rows.remove(index);
    m_names.remove(index);
    m_keys.remove(index);
    m_byName.remove(name);
    Q_EMIT propertyRemoved(p);
    delete p;
}

QJsonArray RCProperties::toJson() const
{
    QJsonArray array;
    for (const IRCProperty* p : m_rows) {
        array.append(p->toJson());
    }
    return array;
}

bool RCProperties::fromJson(const QJsonArray& array)
{
    for (const QJsonValue& element : array)
        mergeRecord(RCProperty::Record(element.toObject()));
    return true;
}

void RCProperties::fromRecords(const std::vector<RCProperty::Record>& records)
{
    for (const RCProperty::Record& record : records)
        mergeRecord(record);
}

void RCProperties::mergeRecord(const RCProperty::Record& record)
{
    IRCProperty* held = getProperty(record.name);
    if (auto* row = qobject_cast<RCProperty*>(held)) {
        row->fromRecord(record);
    } else if (held) {
        held->fromJson(record.source);
    } else {
        addProperty(new RCProperty(record, this));
    }
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

void RCProperties::connectNotify(const QMetaMethod&)
{
    m_connected = true;
}

void RCProperties::relayValuesTo(IRCObject* owner)
{
    m_valueOwner = owner;
}

void RCProperties::relayValueChanged(IRCProperty* p, const QString& name, const QVariant& value)
{
    if (signalsBlocked())
        return;
    if (m_connected)
        Q_EMIT propertyValueChanged(p, value);
    if (m_valueOwner)
        m_valueOwner->announcePropertyValue(name, value);
}
