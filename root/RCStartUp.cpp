#include "root/RCStartUp.h"

#include "mirror/IRCStelvaneSyncer.h"
#include "model/RCSceneItemViews.h"
#include "project/CursorPosProvider.h"
#include "project/RCLog.h"
#include "project/RCLogCategories.h"
#include "project/RCProject.h"
#include "root/RCProjectRoot.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QTranslator>

RCProject* RCStartUp::createProject(QQmlEngine* engine, const QStringList& productNames)
{
    return new RCProjectRoot(engine, productNames);
}

void RCStartUp::publishRootContext(QQmlEngine* engine, RCProject* project,
                                   CursorPosProvider* cursorPosProvider)
{
    QQmlContext* context = engine->rootContext();
    context->setContextProperty(QStringLiteral("mousePosition"), cursorPosProvider);
    context->setContextProperty(QStringLiteral("project"), project);
    context->setContextProperty(QStringLiteral("rcLog"), RCLog::instance());
    context->setContextProperty(QStringLiteral("stelvaneSyncer"), project->getStelvaneSyncer());
}

QVariantMap RCStartUp::mainWindowInputs(QQmlEngine* engine)
{
    // The window's property and the root-context name it is read from.
    static const struct
    {
        const char* input;
        const char* published;
    } kInputs[] = {
        {"mProject", "project"},
        {"mMessageBoxManager", "getRCMessageBoxManager"},
        {"mInterface", "getRCInterface"},
        {"mImageManager", "getImageManager"},
        {"mCloudClient", "tavixProjectCloudClient"},
        {"mLog", "rcLog"},
        {"mWindowEventFilter", "windowEventFilter"},
        {"mCursorPosition", "mousePosition"},
        {"mFileVersion", "getVersion"},
    };
    const QQmlContext* context = engine->rootContext();
    QVariantMap inputs;
    for (const auto& entry : kInputs)
        inputs.insert(QLatin1String(entry.input), context->contextProperty(QLatin1String(entry.published)));
    return inputs;
}

QString RCStartUp::mainWindowUrl()
{
    return QStringLiteral("qrc:/qml/main/RCMainWindow.qml");
}

QObject* RCStartUp::createMainWindow(QQmlEngine* engine)
{
    QQmlComponent component(engine, QUrl(mainWindowUrl()));
    QObject* window = component.beginCreate(engine->rootContext());
    if (window) {
        component.setInitialProperties(window, mainWindowInputs(engine));
        // Before its content completes: a list made with the window makes the delegates beyond
        // its view asynchronously, which without a controller means all at once.
        if (auto* quickWindow = qobject_cast<QQuickWindow*>(window); quickWindow && !engine->incubationController())
            engine->setIncubationController(quickWindow->incubationController());
        component.completeCreate();
    }
    if (!window || component.isError()) {
        qCCritical(lcRcProject).noquote() << "main window failed to load:" << component.errorString();
        delete window;
        return nullptr;
    }
    return window;
}

void RCStartUp::reportDrawnFrames(QObject* window, RCProject* project)
{
    // The software render loop swaps on the GUI thread; a threaded one's swap is queued to it.
    if (auto* quickWindow = qobject_cast<QQuickWindow*>(window))
        QObject::connect(quickWindow, &QQuickWindow::frameSwapped, project, &RCProject::windowDrawn);
}

std::vector<std::unique_ptr<QQmlComponent>> RCStartUp::loadWindowTypes(QQmlEngine* engine, bool withContent)
{
    std::vector<std::unique_ptr<QQmlComponent>> types;
    // The Qt modules of the window, whose plugins start on this thread; once they run, the
    // engine's loader thread loads the window's own files without this thread's help.
    types.push_back(std::make_unique<QQmlComponent>(engine, QUrl(QStringLiteral("qrc:/qml/main/RCStartModules.qml"))));
    QStringList files{mainWindowUrl()};
    if (withContent) {
        // What the window's content loads by name when it is first shown, and the item views.
        files << QStringLiteral("qrc:/qml/main/RCEditModelPanel.qml");
        for (const QString& file : RCSceneItemViews::fileNames())
            files << RCSceneItemViews::folder() + file;
    }
    for (const QString& file : std::as_const(files))
        types.push_back(std::make_unique<QQmlComponent>(engine, QUrl(file), QQmlComponent::Asynchronous));
    return types;
}

bool RCStartUp::installQtTexts(QCoreApplication* app)
{
    auto* translator = new QTranslator(app);
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!translator->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                          QStringLiteral("_"), folder)) {
        qWarning("Qt's Chinese texts not found in %s: its dialogs show English", qPrintable(folder));
        delete translator;
        return false;
    }
    return app->installTranslator(translator);
}
