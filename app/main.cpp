#include "project/CursorPosProvider.h"
#include "project/RCLogCategories.h"
#include "project/RCLogFile.h"
#include "project/RCProject.h"
#include "project/RCProjectFileReader.h"
#include "project/RCTemplateProjects.h"
#include "root/RCQmlRegistration.h"
#include "root/RCStartUp.h"

#include <QApplication>
#include <QFile>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QUrl>

#include <csignal>
#include <memory>

// Start-up and shutdown on the GUI thread. Shutdown order: the window and its QML objects, then
// the project (which stops and awaits its workers), then the engine; no thread outlives main.
int main(int argc, char* argv[])
{
#if defined(Q_OS_UNIX)
    // A terminal or pipe whose reader went away never ends the program, and with it the user's
    // unsaved work: a write to it fails instead.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    QCoreApplication::setAttribute(Qt::AA_UseSoftwareOpenGL, true);
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::RoundPreferFloor);
    // The project file named on the command line is read and parsed on a thread of its own from
    // here on, while the application and the main window's QML types get ready on this one; its
    // load below takes the result. (argv as given: should a Qt option come first, it names no
    // project file and the load reads as usual.)
    std::unique_ptr<RCProjectFileReader> readAhead;
    if (argc >= 2)
        readAhead = std::make_unique<RCProjectFileReader>(QString::fromLocal8Bit(argv[1]));
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    // The program's own QML is compiled into it (tavix_compile_qml_ahead) and the engine takes
    // those units as they are. Whatever QML is still compiled at run time is never cached on disk:
    // Qt 6.4 commits a cache file that a full disk cut short, and a later load of such a file
    // crashes. The cache folder is one that cannot exist, below the program file itself, so no
    // cache is written or read anywhere. (QML_DISABLE_DISK_CACHE would also make Qt 6.4 refuse the
    // compiled-in units, and every start would compile all of the QML again.)
    const QString noCacheFolder = QCoreApplication::applicationFilePath() + QStringLiteral("/qmlcache");
    qputenv("QML_DISK_CACHE_PATH", QFile::encodeName(noCacheFolder));
    RCLogFile::initLogFile();
    RCStartUp::installQtTexts(&app);

    RCQmlRegistration::registerTypes();
    // A plain engine: QQmlApplicationEngine would put a file selector in front of every URL the
    // QML resolves (a look on disk for "+selector" folders at each image source a scene's view
    // sets), for folders that the program does not ship.
    auto* engine = new QQmlEngine;
    RCProject* project = RCStartUp::createProject(engine, {QStringLiteral("Tavix")});
    project->initDefaultScene();
    project->setTemplateProjectList(RCTemplateProjects::buildTemplateProjectList());
    auto windowTypes = RCStartUp::loadWindowTypes(engine, arguments.size() >= 2);

    if (arguments.size() >= 2) {
        const QString path = arguments.at(1);
        project->setReadAhead(std::move(readAhead));
        const bool loaded = project->loadStorageProjectFile(path);
        RCLogFile::writeLine(
            QStringLiteral("tryLoadProjectload project %1 %2").arg(path, QString::number(loaded ? 1 : 0)));
        project->setInitState(loaded ? 1 : 2);
    } else {
        RCLogFile::writeLine(QStringLiteral("tryLoadProjectnot need load project 0"));
    }

    auto* cursorPosProvider = new CursorPosProvider;
    RCStartUp::publishRootContext(engine, project, cursorPosProvider);
    QObject* window = RCStartUp::createMainWindow(engine);
    // What a load freed goes back to the system once the window has drawn (not while it is made).
    RCStartUp::reportDrawnFrames(window, project);
    windowTypes.clear();
    int result = 1;
    if (window) {
        qCInfo(lcRcProject) << "main window loaded";
        result = QApplication::exec();
    }

    delete window;
    delete project;
    delete cursorPosProvider;
    delete engine;
    return result;
}
