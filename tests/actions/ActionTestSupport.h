#pragma once

// Shared set-up of the action tests: a project stand-in whose control link records the commands
// handed to it, the real mirror, a real catalogue, and a clean document per test.

#include "actions/IRCAction.h"
#include "actions/RCActionManager.h"
#include "editing/RCCommandManager.h"
#include "editing/RCSceneItemPresenter.h"
#include "editing/RCScenePresenter.h"
#include "mirror/RCStelvaneSyncer.h"
#include "model/IRCControl.h"
#include "model/IRCControlInstantiationParam.h"
#include "model/RCControlCatalogue.h"
#include "model/RCControlManager.h"
#include "model/RCKeys.h"
#include "model/RCSceneManager.h"
#include "project/IRCProject.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>
#include <QStringList>

#include <memory>

namespace ActionTest {

// Records every command as "name {compact JSON}", so that a comparison also checks JSON types.
class RecordingTerminal : public IRCTerminal
{
public:
    void sendCmd(QString sCmd, QJsonObject value) override
    {
        sent.append(sCmd + QLatin1Char(' ') +
                    QString::fromUtf8(QJsonDocument(value).toJson(QJsonDocument::Compact)));
    }
    QStringList sent;
};

class MemorySetting : public IRCSetting
{
public:
    void setValue(const QString& sSettingName, const QVariant& settingValue) override
    {
        values.insert(sSettingName, settingValue);
    }
    QVariant getValue(const QString& sSettingName) const override { return values.value(sSettingName); }
    QVariantMap values;
};

// The real mirror, recording the project downloads it is told about.
class RecordingMirror : public RCStelvaneSyncer
{
public:
    RecordingMirror()
        : RCStelvaneSyncer(nullptr, QQuickImageProvider::Image,
                           QQuickImageProvider::ForceAsynchronousImageLoading)
    {
    }
    void addProjectRequest(int setUid) override { projectRequests.append(setUid); }
    QList<int> projectRequests;
};

// The services the actions and the executor reach through IRCProject, and a record of the requests
// that the project takes over from them.
class FakeProject : public IRCProject
{
public:
    explicit FakeProject(bool withTerminal = true)
        : terminal(withTerminal ? new RecordingTerminal : nullptr), controls(RCControlManager::create())
    {
        RCControlCatalogue::build(controls.get());
    }
    IRCTerminal* getTerminal() override { return terminal.get(); }
    IRCStelvaneSyncer* getStelvaneSyncer() override { return &mirror; }
    IRCSetting* getSetting() override { return &setting; }
    IRCControlManager* getControlManager() const override { return controls.get(); }
    QString getProjectPacketPath() const override { return packetPath; }
    void requestClose() override { ++closeRequests; }
    void requestSwitchProject(QString sProjectPacketPath) override
    {
        switchRequests.append(sProjectPacketPath);
    }

    QStringList sent() const { return terminal ? terminal->sent : QStringList(); }

    std::unique_ptr<RecordingTerminal> terminal;
    RecordingMirror mirror;
    MemorySetting setting;
    std::unique_ptr<IRCControlManager> controls;
    QString packetPath;
    int closeRequests = 0;
    QStringList switchRequests;
};

// Empties the document and the undo history; answers the id of a new scene named name.
inline QString freshScene(const QString& name = QStringLiteral("S"))
{
    RCSceneManager::instance()->fromJson(QJsonObject());
    RCCommandManager::instance()->clear();
    return RCScenePresenter::instance()->addScene(name, QString(), QString(), false);
}

// Adds an item of a catalogue kind to the scene (no undo record) with some of its values replaced:
// in the template where it has them (read-only ones too, as a project file may hold them), else
// set on the new item.
inline QString addControl(IRCControlManager* controls, const QString& sceneId, int kind,
                          const QVariantMap& properties = {})
{
    IRCControl* control = controls->getControlByType(IRCControl::EIRCControlType(kind));
    if (!control)
        return QString();
    QJsonObject json = control->getInstantiationParam()->toJson();
    QJsonArray records = json.value(QStringLiteral("propertyArray")).toArray();
    QSet<QString> written;
    for (qsizetype i = 0; i < records.size(); ++i) {
        QJsonObject record = records.at(i).toObject();
        const QString name = record.value(QStringLiteral("name")).toString();
        if (properties.contains(name)) {
            record.insert(QStringLiteral("value"), QJsonValue::fromVariant(properties.value(name)));
            records.replace(i, record);
            written.insert(name);
        }
    }
    json.insert(QStringLiteral("propertyArray"), records);
    RCSceneItemPresenter* items = RCSceneItemPresenter::instance();
    const QString id = items->addItem(sceneId, json, false);
    for (auto it = properties.cbegin(); it != properties.cend(); ++it) {
        if (!written.contains(it.key()))
            items->setPropertyValue(sceneId, id, it.key(), it.value(), false);
    }
    return id;
}

inline QVariantMap track(const QString& id, const QString& name, int state)
{
    return QVariantMap{{RCKeys::Id(), id}, {RCKeys::Name(), name}, {RCKeys::State(), state}};
}

} // namespace ActionTest
