// Writes the project files of the built-in templates from the control catalogue:
//
//     tavix_templategen <repository>/resources
//
// Each template holds one scene "场景1" of the template's size with one network-link button;
// every row the catalogue defines for the button holds the catalogue's value. All four files
// share one scene id and one item id.

#include "model/IRCControl.h"
#include "model/IRCControlInstantiationParam.h"
#include "model/RCControlCatalogue.h"
#include "model/RCControlManager.h"
#include "model/RCKeys.h"
#include "model/RCScene.h"
#include "model/RCSceneItem.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QSize>
#include <QTextStream>

#include <memory>

namespace {

const QString kSceneId = QStringLiteral("{6f1c2a8e-3b4d-4e5f-9a7b-1c2d3e4f5a6b}");
const QString kItemId = QStringLiteral("{0d9e8f7a-6b5c-4d3e-8f1a-2b3c4d5e6f7a}");

// The JSON of an object whose "Id" row is replaced by `id`.
QJsonObject withId(QJsonObject json, const QString& id)
{
    QJsonArray rows = json.value(QStringLiteral("propertyArray")).toArray();
    for (int i = 0; i < rows.size(); ++i) {
        QJsonObject row = rows.at(i).toObject();
        if (row.value(QStringLiteral("name")).toString() == RCKeys::Id()) {
            row.insert(QStringLiteral("value"), id);
            rows.replace(i, row);
        }
    }
    json.insert(QStringLiteral("propertyArray"), rows);
    return json;
}

QJsonObject templateProject(IRCControlManager* controls, const QSize& size, const QPoint& buttonPos,
                            const QString& version)
{
    RCScene scene(QStringLiteral("场景1"), QString(), QStringLiteral("qrc:/sceneBackground.png"));
    scene.setPropertyValue(RCKeys::Width(), size.width());
    scene.setPropertyValue(RCKeys::Height(), size.height());
    scene.setPropertyValue(RCKeys::TypeName(), QString());
    scene.setPropertyValue(RCKeys::IndentLevel(), 0);

    IRCControl* button = controls->getControlByType(IRCControl::EIRCControlType(23));
    RCSceneItem item(button->getInstantiationParam()->toJson(), nullptr);
    item.setPropertyValue(RCKeys::Name(), QStringLiteral("网络连接"));
    item.setPropertyValue(RCKeys::ObjectName(), QStringLiteral("标签"));
    item.setPropertyValue(RCKeys::Title(), QStringLiteral("连接"));
    item.setPropertyValue(RCKeys::Width(), 100);
    item.setPropertyValue(RCKeys::Height(), 50);
    item.setPropertyValue(RCKeys::X(), buttonPos.x());
    item.setPropertyValue(RCKeys::Y(), buttonPos.y());

    QJsonObject sceneJson = withId(scene.toJson(), kSceneId);
    sceneJson.insert(QStringLiteral("itemArray"), QJsonArray{withId(item.toJson(), kItemId)});
    return QJsonObject{{QStringLiteral("version"), version},
                       {QStringLiteral("sceneArray"), QJsonObject{{QStringLiteral("sceneArray"), QJsonArray{sceneJson}}}},
                       {QStringLiteral("setting"), QJsonObject{{RCKeys::SceneListVisible(), true}}}};
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    if (argc != 2) {
        err << "usage: tavix_templategen <resources folder>\n";
        return 2;
    }
    const QDir resources(QString::fromLocal8Bit(argv[1]));
    std::unique_ptr<IRCControlManager> controls(RCControlManager::create());
    RCControlCatalogue::build(controls.get());
    if (!controls->getControlByType(IRCControl::EIRCControlType(23))) {
        err << "the catalogue has no network-link button\n";
        return 1;
    }

    struct Template
    {
        QString folder;
        QString file;
        QString version;
        QSize size;
        QPoint buttonPos;
    };
    const QList<Template> templates{
        {QStringLiteral("empty"), QStringLiteral("project.json"), QStringLiteral("2.1.7"), QSize(960, 540), QPoint(859, 1)},
        {QStringLiteral("MobilePhone(1200x540)"), QStringLiteral("project.tavx"), QStringLiteral("2.1.11"), QSize(1200, 540), QPoint(0, 0)},
        {QStringLiteral("Pad(1024x768)"), QStringLiteral("project.tavx"), QStringLiteral("2.1.11"), QSize(1024, 768), QPoint(0, 0)},
        {QStringLiteral("PC(1920x1080)"), QStringLiteral("project.tavx"), QStringLiteral("2.1.11"), QSize(1920, 1080), QPoint(0, 0)},
    };
    for (const Template& t : templates) {
        resources.mkpath(t.folder);
        QSaveFile file(resources.filePath(t.folder + QLatin1Char('/') + t.file));
        if (!file.open(QIODevice::WriteOnly)) {
            err << "cannot write " << file.fileName() << "\n";
            return 1;
        }
        file.write(QJsonDocument(templateProject(controls.get(), t.size, t.buttonPos, t.version))
                       .toJson(QJsonDocument::Indented));
        if (!file.commit()) {
            err << "cannot write " << file.fileName() << "\n";
            return 1;
        }
    }
    return 0;
}
