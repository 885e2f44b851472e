#pragma once

// Shared set-up of the action tests: the project stand-in of tests/support (its control link records
// the commands handed to it), a clean document per test and catalogue items placed in it.

#include "actions/IRCAction.h"
#include "actions/RCActionManager.h"
#include "editing/RCCommandManager.h"
#include "editing/RCSceneItemPresenter.h"
#include "editing/RCScenePresenter.h"
#include "model/IRCControl.h"
#include "model/IRCControlInstantiationParam.h"
#include "model/RCControlCatalogue.h"
#include "model/RCControlManager.h"
#include "model/RCKeys.h"
#include "model/RCSceneManager.h"
#include "support/FakeProject.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>
#include <QStringList>

#include <memory>

namespace ActionTest {

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

// What most action tests start with: a project stand-in, its action manager and a fresh scene in an
// empty document. start() from init(), stop() from cleanup().
struct ActionFixture
{
    void start()
    {
        m_project = std::make_unique<FakeProject>();
        m_manager.reset(RCActionManager::create(m_project.get()));
        m_sceneId = freshScene();
    }
    void stop()
    {
        m_manager.reset();
        m_project.reset();
    }

    std::unique_ptr<FakeProject> m_project;
    std::unique_ptr<IRCActionManager> m_manager;
    QString m_sceneId;
};

} // namespace ActionTest
