// The bare twin of the program's start-up: a bare Qt Quick window with the Qt modules that the
// main window's start page imports, as large as the main window and frameless, after a bare JSON
// parse of the project file named on the command line (when one is). It runs until it is ended,
// like the program; bench_programStart times both from exec to the first frame that Qt's render
// loop reports.
//     bare_startup [PROJECT_FILE]

#include <QFile>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QQmlApplicationEngine>

#include <cstdio>

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    if (argc >= 2) {
        QFile file(QFile::decodeName(argv[1]));
        if (!file.open(QIODevice::ReadOnly))
            return 2;
        const QJsonDocument document = QJsonDocument::fromJson(file.readAll());
        std::fprintf(stderr, "parsed %lld keys\n", static_cast<long long>(document.object().size()));
    }
    QQmlApplicationEngine engine;
    engine.loadData(R"(
        import QtQuick
        import QtQuick.Controls.Basic
        import QtQuick.Dialogs
        import QtQuick.Window
        import Qt.labs.platform as Platform
        Window { width: 1024; height: 768; visible: true; title: "Tavix Editor"
            flags: Qt.Window | Qt.FramelessWindowHint
            Column { Label { text: "name" } Repeater { model: ["a"]; Label { text: modelData } } } }
    )");
    if (engine.rootObjects().isEmpty())
        return 1;
    return QGuiApplication::exec();
}
