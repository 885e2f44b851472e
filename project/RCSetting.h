#pragma once

#include "project/IRCSetting.h"

// The settings object of the project root (its parent).
//
// Application keys ("CloudRelayUrl", "DefaultIp", "DefaultPassword", "ProjectJoinPasswrod",
// "ProjectJoinUid", "TouchProjectName"; empty strings by default) persist in the settings
// file, which holds all of them in key order, indented, and is replaced atomically on every
// change, whole or not at all (saveFailed tells). The project key "SceneListVisible" (true by default) travels in the project file.
// Unknown keys are never stored. Text keys hold text: stored text reads back as it stands
// (also "#Color#1,2,3" or "$sl$x"), and a number or truth value given to one, from QML or in
// the file, is kept as its text; any other value (a list, an object, null) is refused with a
// warning and the key keeps its value. A stored value that cannot be read, or whose type is not
// the key's type, leaves the key at its default and is logged.
//
// GUI thread only.
class RCSetting : public IRCSetting
{
    Q_OBJECT

public:
    explicit RCSetting(const QString& filePath, QObject* parent = nullptr);

    QJsonObject toJson() const override;
    void fromJson(const QJsonObject& json) override;

    Q_INVOKABLE void setValue(const QString& sSettingName, const QVariant& settingValue) override;
    Q_INVOKABLE QVariant getValue(const QString& sSettingName) const override;
    Q_INVOKABLE QVariantMap getValues() const override;

    QString filePath() const { return m_filePath; }

Q_SIGNALS:
    // A change of an application key could not be written whole to the settings file (a full
    // disk): the file stays as it was, the value is kept for this run only. `reason` is for the
    // user.
    void saveFailed(const QString& reason);

private:
    void load();
    bool save(QString* reason = nullptr) const;

    const QString m_filePath;
    QVariantMap m_appValues;
    QVariantMap m_projectValues;
};
