// tavix-templategen: writes the project files of the four built-in template packets, made with the
// real control catalogue, scene model and settings, so that they carry exactly the rows a project
// of this program saves. The output is committed under resources/; nothing runs this tool during
// the build or the tests. Rerun it when the network-link button's catalogue rows or the scene or
// item default rows change, then review and commit the diff:
//
//     cmake --build build/dbg --target tavix-templategen
//     build/dbg/tools/templategen/tavix-templategen resources
//
// Every file holds one scene "场景1" of the template's size with one network-link button; the
// scene id and the item id are fixed so that reruns give identical files.
#include "model/IRCControl.h"
#include "model/IRCControlInstantiationParam.h"
#include "model/RCControlCatalogue.h"
#include "model/RCControlManager.h"
#include "model/RCKeys.h"
#include "model/RCProperties.h"
#include "model/RCScene.h"
#include "model/RCSceneItem.h"
#include "model/RCSceneManager.h"
#include "project/RCSetting.h"
#include "project/RCTemplateProjects.h"
#include "tools/ToolCommandLine.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonDocument>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <QUrl>

namespace {

const QString kSceneId = QStringLiteral("{80e59672-1245-42dc-ba81-cceff14a1735}");
const QString kItemId = QStringLiteral("{3e495f1d-1371-4a68-ad07-494b174396a3}");

// The empty template is the older file layout; the others were saved by a later version and place
// the button in the top-left corner.
const QString kEmptyTemplateName = QStringLiteral("空模板");

QJsonObject buildProjectFile(IRCControlManager* controls, const QVariantMap& entry)
{
    const bool empty = entry.value(RCKeys::Name()).toString() == kEmptyTemplateName;
    const QSize size = entry.value(RCKeys::DefaultSize()).toSize();

    auto* scene = new RCScene(QStringLiteral("场景1"), QString(), QStringLiteral("qrc:/sceneBackground.png"));
    scene->getProperties()->storeValue(RCKeys::Id(), kSceneId); // the id row is read-only
    scene->setPropertyValue(RCKeys::Width(), size.width());
    scene->setPropertyValue(RCKeys::Height(), size.height());

    // The button as a drop from the catalogue makes it, then the rows the templates set.
    IRCControl* netLink = controls->getControlByType(IRCControl::EIRCControlType_NetLink);
    auto* item = new RCSceneItem(netLink->getInstantiationParam()->toJson(), nullptr);
    item->getProperties()->storeValue(RCKeys::Id(), kItemId);
    item->setPropertyValue(RCKeys::Name(), QStringLiteral("网络连接"));
    item->setPropertyValue(RCKeys::ObjectName(), QStringLiteral("标签"));
    item->setPropertyValue(RCKeys::Title(), QStringLiteral("连接"));
    item->setSize(QSize(100, 50));
    item->setPos(empty ? QPoint(859, 1) : QPoint(0, 0));
    scene->addItem(item);

    RCSceneManager scenes;
    scenes.addScene(scene, -1);

    // A fresh settings object holds the project defaults ("SceneListVisible" true); its settings
    // file lives in a throw-away folder.
    QTemporaryDir configDir;
    RCSetting setting(configDir.filePath(QStringLiteral("config.json")));

    return QJsonObject{
        {QStringLiteral("version"), empty ? QStringLiteral("2.1.7") : QStringLiteral("2.1.11")},
        {QStringLiteral("sceneArray"), scenes.toJson()},
        {QStringLiteral("setting"), setting.toJson()},
    };
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tavix-templategen"));
    QTextStream err(stderr);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes the project files of the built-in template packets under a resources folder."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("resources"),
                                 QStringLiteral("The resources folder of the source tree."));
    parseToolCommandLine(parser, app, 1, 1);
    const QDir resources(parser.positionalArguments().first());

    RCControlManager controls;
    RCControlCatalogue::build(&controls);

    for (const QVariant& value : RCTemplateProjects::buildTemplateProjectList()) {
        const QVariantMap entry = value.toMap();
        // "qrc:/empty/project.json" -> "<resources>/empty/project.json"
        const QString relative = QUrl(entry.value(RCKeys::ProjectFilePath()).toString()).path().mid(1);
        const QString path = resources.filePath(relative);
        if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
            err << "cannot create the folder of " << path << "\n";
            return 1;
        }
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly)) {
            err << "cannot write " << path << "\n";
            return 1;
        }
        file.write(QJsonDocument(buildProjectFile(&controls, entry)).toJson(QJsonDocument::Indented));
        if (!file.commit()) {
            err << "cannot write " << path << "\n";
            return 1;
        }
        err << "wrote " << path << "\n";
    }
    return 0;
}
