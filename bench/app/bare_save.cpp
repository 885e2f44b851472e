// The bare twin of a save as a user makes it: a bare Qt Quick window as large as the main window,
// frameless, holding a project file parsed in memory; on the standard save key it turns it into
// the same text that the program writes (indented JSON) and writes that over the file, the way the
// program writes a project file (an unbuffered QSaveFile, written, synced and renamed over the
// destination), logs "bare saved" and shows the number of its saves, as the program shows that
// its project is saved. It runs until it is ended, like the program; bench_save_xvfb.sh times both
// from the key to the window settled.
//     bare_save PROJECT_FILE

#include <QFile>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QKeyEvent>
#include <QQmlApplicationEngine>
#include <QSaveFile>

#include <cstdio>

namespace {

// Writes the bytes on the save key pressed in the window it filters.
class BareSaver : public QObject
{
public:
    BareSaver(QString path, QJsonDocument document) : m_path(std::move(path)), m_document(std::move(document)) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->matches(QKeySequence::Save)) {
            if (save())
                watched->setProperty("saves", watched->property("saves").toInt() + 1);
            else
                std::fprintf(stderr, "bare save failed\n");
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool save() const
    {
        const QByteArray bytes = m_document.toJson(QJsonDocument::Indented);
        QSaveFile file(m_path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || file.write(bytes) != bytes.size() ||
            !file.commit())
            return false;
        std::fprintf(stderr, "bare saved\n");
        return true;
    }

    QString m_path;
    QJsonDocument m_document;
};

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    if (argc < 2)
        return 2;
    QFile file(QFile::decodeName(argv[1]));
    if (!file.open(QIODevice::ReadOnly))
        return 2;
    BareSaver saver(file.fileName(), QJsonDocument::fromJson(file.readAll()));
    file.close();
    QQmlApplicationEngine engine;
    engine.loadData(R"(
        import QtQuick
        Window { width: 1024; height: 768; visible: true; title: "Bare Save"; color: "black"
            flags: Qt.Window | Qt.FramelessWindowHint
            property int saves: 0
            Text { x: 20; y: 6; color: "white"; text: "saved " + saves } }
    )");
    if (engine.rootObjects().isEmpty())
        return 1;
    engine.rootObjects().first()->installEventFilter(&saver);
    return QGuiApplication::exec();
}
