#pragma once

#include <QStringList>
#include <QVariantMap>

#include <memory>
#include <vector>

class CursorPosProvider;
class QCoreApplication;
class QQmlComponent;
class QQmlEngine;
class RCProject;

// The project root's builder for main and for the programs that host the QML the same way
// (the Quick Test harness).
class RCStartUp
{
public:
    // The one project root (an RCProjectRoot, with every subsystem built around the project),
    // without a parent; main owns and deletes it.
    static RCProject* createProject(QQmlEngine* engine, const QStringList& productNames);
    // Publishes on the engine's root context what main hands to the main window besides the
    // project's own services: "mousePosition", "project", "rcLog" and "stelvaneSyncer". Call once the project's
    // start content is in place, before the first QML file is loaded. The caller keeps
    // ownership of cursorPosProvider and keeps it alive as long as the engine.
    static void publishRootContext(QQmlEngine* engine, RCProject* project,
                                   CursorPosProvider* cursorPosProvider);
    // The main window's (qrc:/qml/main/RCMainWindow.qml) required inputs, by property name: the
    // services published on the engine's root context, read back from it. Call after
    // publishRootContext; hand the map to QQmlApplicationEngine::setInitialProperties or
    // QQmlComponent::createWithInitialProperties.
    static QVariantMap mainWindowInputs(QQmlEngine* engine);
    // The main window's file (qrc:/qml/main/RCMainWindow.qml).
    static QString mainWindowUrl();
    // Makes the main window on engine with its inputs (mainWindowInputs), the window's frames
    // taking the engine's asynchronous incubation (list delegates made ahead, in between frames)
    // from the moment its content is made. Null, with the reasons logged, when it cannot be made.
    // The caller owns the window and deletes it before the project and the engine.
    static QObject* createMainWindow(QQmlEngine* engine);
    // Tells the project of every frame the main window has drawn (RCProject::windowDrawn), from
    // the first one on. The connection ends with either object.
    static void reportDrawnFrames(QObject* window, RCProject* project);
    // Starts loading the QML types of the main window and, with withContent, of the edit layout
    // that its content shows first and of the item views, before the window is made: the Qt
    // modules they import start at once on this thread, the files load on the engine's loader
    // thread meanwhile, so that start-up can read its project while they do. Makes no object; the
    // window's load takes the types as far as they got. The engine keeps them while the
    // components live: destroy them once the window is made.
    static std::vector<std::unique_ptr<QQmlComponent>> loadWindowTypes(QQmlEngine* engine, bool withContent);

    // Has Qt's own texts (the file dialogs' labels and buttons) shown in Chinese, as the program's
    // own are: installs a translator owned by app. False, with a warning, when Qt's Chinese
    // translation is not on this machine.
    static bool installQtTexts(QCoreApplication* app);

private:
    RCStartUp() = delete;
};
