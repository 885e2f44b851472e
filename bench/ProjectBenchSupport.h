#pragma once

#include "project/CursorPosProvider.h"
#include "project/RCProject.h"
#include "root/RCQmlRegistration.h"
#include "root/RCStartUp.h"
#include "tests/support/IsolatedNetwork.h"

#include <QQmlEngine>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>

// For benchmarks that start the project root, whose control link broadcasts discovery probes:
// false, with the reason on stderr, outside a private network namespace; otherwise points HOME
// and XDG_CONFIG_HOME into home, so the run reads and writes no real settings or projects.
inline bool enterIsolatedHome(const QTemporaryDir& home)
{
    QString reason;
    if (!insidePrivateNetwork(&reason)) {
        std::fprintf(stderr, "%s\n", qPrintable(reason));
        return false;
    }
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/.config")).toLocal8Bit());
    return true;
}

// enterIsolatedHome, and the offscreen platform unless QT_QPA_PLATFORM names another. Call
// before the application is made.
inline bool enterIsolatedOffscreenHome(const QTemporaryDir& home)
{
    if (!enterIsolatedHome(home))
        return false;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return true;
}

// Lets only warnings and worse through to stderr, so that the reports stay readable.
inline void quietBenchMessages()
{
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type != QtDebugMsg && type != QtInfoMsg)
            std::fprintf(stderr, "%s\n", qPrintable(message));
    });
}

// A QML engine with the project root and the root-context names that main gives the main
// window, for the benchmarks of the interface. Make it once the application exists; the
// project goes before the engine.
struct QmlBenchProject
{
    // The QML types are registered before anything of the project or its QML is made (once per
    // process; a main that registered them already loses nothing).
    bool registered = (RCQmlRegistration::registerTypes(), true);
    QQmlEngine engine;
    CursorPosProvider cursor;
    std::unique_ptr<RCProject> project{RCStartUp::createProject(&engine, {QStringLiteral("Tavix")})};

    QmlBenchProject() { RCStartUp::publishRootContext(&engine, project.get(), &cursor); }
};
