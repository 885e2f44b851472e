#include "project/CursorPosProvider.h"
#include "project/RCLogCategories.h"
#include "project/RCLogFile.h"
#include "project/RCProject.h"
#include "project/RCTemplateProjects.h"
#include "root/RCQmlRegistration.h"
#include "root/RCStartUp.h"

#include <QApplication>
#include <QQmlApplicationEngine>
#include <QUrl>

// Start-up and shutdown on the GUI thread. Shutdown order: the window and its QML objects, then
// the project (which stops and awaits its workers), then the engine; no thread outlives main.
int main(int argc, char* argv[])
{
    // The program's own QML is compiled into it (tavix_compile_qml_ahead), so the QML disk cache in
    // the home would only ever hold what a newer Qt refuses to take from there. It is neither
    // written nor read: Qt 6.4 commits a cache file that a full disk cut short, and a later load
    // of such a file crashes.
    qputenv("QML_DISABLE_DISK_CACHE", "1");
    QCoreApplication::setAttribute(Qt::AA_UseSoftwareOpenGL, true);
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::RoundPreferFloor);
    QApplication app(argc, argv);
    RCLogFile::initLogFile();
    RCStartUp::installQtTexts(&app);

    RCQmlRegistration::registerTypes();
    auto* engine = new QQmlApplicationEngine;
    RCProject* project = RCStartUp::createProject(engine, {QStringLiteral("Tavix")});
    project->initDefaultScene();
    project->setTemplateProjectList(RCTemplateProjects::buildTemplateProjectList());

    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() >= 2) {
        const QString path = arguments.at(1);
        const bool loaded = project->loadStorageProjectFile(path);
        RCLogFile::writeLine(
            QStringLiteral("tryLoadProjectload project %1 %2").arg(path, QString::number(loaded ? 1 : 0)));
        project->setInitState(loaded ? 1 : 2);
    } else {
        RCLogFile::writeLine(QStringLiteral("tryLoadProjectnot need load project 0"));
    }

    auto* cursorPosProvider = new CursorPosProvider;
    RCStartUp::publishRootContext(engine, project, cursorPosProvider);
    engine->setInitialProperties(RCStartUp::mainWindowInputs(engine));

    engine->load(QUrl(QStringLiteral("qrc:/qml/main/RCMainWindow.qml")));
    int result = 1;
    if (engine->rootObjects().isEmpty()) {
        qCCritical(lcRcProject) << "main window failed to load";
    } else {
        qCInfo(lcRcProject) << "main window loaded";
        result = QApplication::exec();
    }

    const QList<QObject*> windows = engine->rootObjects();
    qDeleteAll(windows);
    delete project;
    delete cursorPosProvider;
    delete engine;
    return result;
}
