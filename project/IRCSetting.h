#pragma once

#include <QJsonObject>
#include <QObject>
#include <QVariant>
#include <QVariantMap>

// The settings of the application and of the open project, read and written by key.
// Application settings persist in "config.json"; project settings travel in the project
// file's "setting" object (toJson/fromJson). Every change of a known key is announced by
// settingValueChanged. The interface's own bodies do nothing. Marked CppOwnership.
class IRCSetting : public QObject
{
    Q_OBJECT

public:
    explicit IRCSetting(QObject* parent = nullptr);

    // The project settings as the project file's "setting" object.
    virtual QJsonObject toJson() const;
    // Applies the project settings of a project file's "setting" object.
    virtual void fromJson(const QJsonObject& json);

    Q_INVOKABLE virtual void setValue(const QString& sSettingName, const QVariant& settingValue);
    Q_INVOKABLE virtual QVariant getValue(const QString& sSettingName) const;
    // The application settings (never the project settings).
    Q_INVOKABLE virtual QVariantMap getValues() const;

Q_SIGNALS:
    void settingValueChanged(const QString& sSettingName, const QVariant& settingValue);
};
