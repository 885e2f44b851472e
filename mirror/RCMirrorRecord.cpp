#include "mirror/RCMirrorRecord.h"

#include "model/RCKeys.h"

RCMirrorRecord::RCMirrorRecord(const QStringList& keys, const QVariantMap& params, QObject* parent)
    : QObject(parent)
{
    for (const QString& key : keys)
        m_properties.insert(key, params.value(key));
}

QString RCMirrorRecord::getId() const
{
    return m_properties.value(RCKeys::Id()).toString();
}

bool RCMirrorRecord::setProperty(const QString& sProName, const QVariant& value)
{
    if (!assign(sProName, value, true))
        return false;
    Q_EMIT propertyChanged(sProName, value);
    return true;
}

bool RCMirrorRecord::storeProperty(const QString& sProName, const QVariant& value)
{
    if (!assign(sProName, value, false))
        return false;
    Q_EMIT propertyChanged(sProName, value);
    return true;
}

bool RCMirrorRecord::assign(const QString& sProName, const QVariant& value, bool onlyWhenDifferent)
{
    auto it = m_properties.find(sProName);
    if (it == m_properties.end() || (onlyWhenDifferent && it.value() == value))
        return false;
    it.value() = value;
    return true;
}
