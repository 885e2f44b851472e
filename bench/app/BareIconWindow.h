#pragma once

#include <QFile>
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQmlContext>
#include <QUrl>

// The main of a bare twin of the user-level benchmarks: shows qml, a window, with the context
// property "iconUrl" naming the icon file of its command line (ICON_FILE), until it is ended, like
// the program. 2 without an icon file, 1 when qml does not load.
inline int runBareIconWindow(int argc, char* argv[], const char* qml)
{
    QGuiApplication app(argc, argv);
    if (argc < 2)
        return 2;
    QQmlApplicationEngine engine;
    engine.rootContext()->setContextProperty(QStringLiteral("iconUrl"),
                                             QUrl::fromLocalFile(QFile::decodeName(argv[1])));
    engine.loadData(qml);
    if (engine.rootObjects().isEmpty())
        return 1;
    return QGuiApplication::exec();
}
