#include "project/IRCSetting.h"

#include <QJSEngine>

IRCSetting::IRCSetting(QObject* parent) : QObject(parent)
{
    QJSEngine::setObjectOwnership(this, QJSEngine::CppOwnership);
}

QJsonObject IRCSetting::toJson() const
{
    return QJsonObject();
}

void IRCSetting::fromJson(const QJsonObject& json)
{
    Q_UNUSED(json);
}

void IRCSetting::setValue(const QString& sSettingName, const QVariant& settingValue)
{
    Q_UNUSED(sSettingName);
    Q_UNUSED(settingValue);
}

QVariant IRCSetting::getValue(const QString& sSettingName) const
{
    Q_UNUSED(sSettingName);
    return QVariant();
}

QVariantMap IRCSetting::getValues() const
{
    return QVariantMap();
}
