#include "project/RCSetting.h"

#include "model/RCKeys.h"
#include "model/RCTypedValue.h"
#include "project/RCFileWrite.h"
#include "project/RCLogCategories.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>

namespace {

// The values that have a JSON form; any other is left out with a warning under `caller`.
QJsonObject valuesToJson(const QVariantMap& values, const char* caller)
{
    QJsonObject json;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        bool ok = true;
        const QJsonValue value = variantToJsonValue(it.value(), &ok);
        if (ok)
            json.insert(it.key(), value);
        else
            qCWarning(lcRcProject) << caller << "value cannot be written" << it.key();
    }
    return json;
}

bool isText(const QVariant& held)
{
    return held.typeId() == QMetaType::QString;
}

// Reads a stored value for a key whose value is like `held`. Text keys keep stored text as it
// stands and take a stored number or truth value as its text.
QVariant readValue(const QJsonValue& json, const QVariant& held, bool* ok)
{
    if (!isText(held))
        return jsonValueToVariant(json, ok);
    if (json.isDouble() || json.isBool()) {
        *ok = true;
        return json.toVariant().toString();
    }
    return jsonValueToText(json, ok);
}

// The value a text key stores for `value`: text as it is, a number or truth value (a QML field
// bound to one) as its text; invalid for anything else (a list, an object, null, undefined).
QVariant asText(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::QString:
        return value;
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        return value.toString();
    default:
        return QVariant();
    }
}

} // namespace

RCSetting::RCSetting(const QString& filePath, QObject* parent) : IRCSetting(parent), m_filePath(filePath)
{
    const QVariant emptyText = QString();
    m_appValues.insert(RCKeys::DefaultPassword(), emptyText);
    m_appValues.insert(RCKeys::DefaultIp(), emptyText);
    m_appValues.insert(RCKeys::TouchProjectName(), emptyText);
    m_appValues.insert(RCKeys::ProjectJoinUid(), emptyText);
    m_appValues.insert(RCKeys::ProjectJoinPasswrod(), emptyText);
    m_appValues.insert(RCKeys::CloudRelayUrl(), emptyText);
    m_projectValues.insert(RCKeys::SceneListVisible(), true);
    load();
}

QJsonObject RCSetting::toJson() const
{
    return valuesToJson(m_projectValues, "RCSetting::toJson");
}

void RCSetting::fromJson(const QJsonObject& json)
{
    const QStringList keys = m_projectValues.keys();
    for (const QString& key : keys) {
        if (!json.contains(key))
            continue;
        bool ok = true;
        const QVariant value = readValue(json.value(key), m_projectValues.value(key), &ok);
        if (!ok || value.metaType() != m_projectValues.value(key).metaType()) {
            qCWarning(lcRcProject) << "RCSetting::fromJson"
                                   << "bad value, present value kept" << key << json.value(key);
            continue;
        }
        setValue(key, value);
    }
}

void RCSetting::setValue(const QString& sSettingName, const QVariant& value)
{
    QVariant settingValue = value;
    if (isText(getValue(sSettingName))) {
        settingValue = asText(value);
        if (!settingValue.isValid()) {
            // Stored, it would not read back as the same text at the next start.
            qCWarning(lcRcProject) << "RCSetting::setValue"
                                   << "not a text, refused for" << sSettingName << value.metaType().name();
            return;
        }
    }
    if (m_appValues.contains(sSettingName)) {
        m_appValues.insert(sSettingName, settingValue);
        QString reason;
        if (!save(&reason))
            Q_EMIT saveFailed(reason);
        Q_EMIT settingValueChanged(sSettingName, settingValue);
    } else if (m_projectValues.contains(sSettingName)) {
        m_projectValues.insert(sSettingName, settingValue);
        Q_EMIT settingValueChanged(sSettingName, settingValue);
    }
}

QVariant RCSetting::getValue(const QString& sSettingName) const
{
    if (m_appValues.contains(sSettingName))
        return m_appValues.value(sSettingName);
    return m_projectValues.value(sSettingName);
}

QVariantMap RCSetting::getValues() const
{
    return m_appValues;
}

void RCSetting::load()
{
    QFile file(m_filePath);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray data = file.readAll();
    file.close();

    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(data, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        qCWarning(lcRcProject) << "RCSetting::load"
                               << "settings file unreadable, defaults kept" << m_filePath
                               << error.errorString();
        return;
    }
    const QJsonObject json = document.object();
    bool anyKey = false;
    const QStringList keys = m_appValues.keys();
    for (const QString& key : keys) {
        if (!json.contains(key))
            continue;
        anyKey = true;
        bool ok = true;
        const QVariant value = readValue(json.value(key), m_appValues.value(key), &ok);
        const QMetaType expected = m_appValues.value(key).metaType();
        if (!ok || value.metaType() != expected) {
            qCWarning(lcRcProject) << "RCSetting::load"
                                   << "bad value, default kept" << key << json.value(key);
            continue;
        }
        m_appValues.insert(key, value);
    }
    // Rewritten in the canonical form (all keys, in order) as soon as it held any key.
    if (anyKey)
        save();
}

bool RCSetting::save(QString* reason) const
{
    const QJsonObject json = valuesToJson(m_appValues, "RCSetting::save");
    QDir().mkpath(QFileInfo(m_filePath).absolutePath());
    if (!RCFileWrite::write(m_filePath, QJsonDocument(json).toJson(QJsonDocument::Indented), reason)) {
        qCWarning(lcRcProject) << "RCSetting::save"
                               << "write failed" << m_filePath;
        return false;
    }
    return true;
}
