#pragma once

#include "editing/Platform.h"
#include "support/FileTree.h"

#include <QObject>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

// What the Quick tests need beyond the program's own services, exposed as "testSupport": the
// undo history's steps (the program reaches them through its undo and redo actions), one
// helper program at a time run without blocking the event loop, so a test can drive the real
// window (xdotool) while the window keeps handling events, files and the model's value types.
class TestSupport : public QObject
{
    Q_OBJECT

public:
    explicit TestSupport(QObject* parent = nullptr);

    Q_INVOKABLE void undo() { Platform::instance()->undo(); }
    Q_INVOKABLE void redo() { Platform::instance()->redo(); }
    Q_INVOKABLE bool canUndo() { return Platform::instance()->canUndo(); }

    // Starts program with arguments; false when another run is still going or it cannot start.
    Q_INVOKABLE bool start(const QString& program, const QStringList& arguments);
    Q_INVOKABLE bool isRunning() const { return m_process.state() != QProcess::NotRunning; }
    // The exit code of the last finished run, -1 before the first one or after a crash.
    Q_INVOKABLE int exitCode() const { return m_exitCode; }
    Q_INVOKABLE QString output() const { return m_output; }

    // Sets how the start went for project (an IRCProject), as main does before it makes the
    // window: 1 with a project loaded, 0 with none asked for.
    Q_INVOKABLE static void setInitState(QObject* project, int state);

    // A folder of the test's own, removed when the test ends.
    Q_INVOKABLE QString tempPath() const { return m_tempDir.path(); }
    // Writes size bytes to path, making its folders.
    Q_INVOKABLE bool writeFile(const QString& path, int size)
    {
        return ::writeFile(path, QByteArray(size, 'x'));
    }
    // The C++ type of a property value as the model holds it ("int", "double", "QString", ...);
    // an empty itemId names a scene property.
    Q_INVOKABLE QString propertyType(const QString& sceneId, const QString& itemId, const QString& name);
    // The objects below object: its QObject children and, for an item, its visual children (a
    // repeater's delegates are only those), each counted once, all the way down.
    Q_INVOKABLE static int objectCount(QObject* object);

    // Every file below folder (":/qml" for the view files), relative to it.
    Q_INVOKABLE QStringList filesBelow(const QString& folder) const { return ::filesBelow(folder); }
    // A new empty folder inside tempPath() whose name begins with `name`.
    Q_INVOKABLE QString makeFolder(const QString& name);
    // Writes text as UTF-8 to path, making its folders.
    Q_INVOKABLE bool writeText(const QString& path, const QString& text)
    {
        return ::writeFile(path, text.toUtf8());
    }
    // Makes linkPath a symbolic link to target.
    Q_INVOKABLE bool link(const QString& target, const QString& linkPath) const { return QFile::link(target, linkPath); }
    // The file's text, read as UTF-8 ("" when it cannot be read).
    Q_INVOKABLE QString readText(const QString& path) const { return QString::fromUtf8(::readFile(path)); }
    Q_INVOKABLE bool exists(const QString& path) const { return QFileInfo::exists(path); }
    Q_INVOKABLE bool remove(const QString& path) const { return QFile::remove(path); }
    // Whether the file is a picture with at least one pixel that is neither black nor transparent.
    Q_INVOKABLE bool isDrawnImage(const QString& path) const;
    // A PNG of one colour; false when it cannot be written.
    Q_INVOKABLE bool writeImage(const QString& path, const QString& color, int width, int height) const;
    // The colour of the picture's pixel at (x, y) as "#rrggbb"; "" when there is none.
    Q_INVOKABLE QString pixelColor(const QString& path, int x, int y) const;

Q_SIGNALS:
    void finished(int exitCode);

private:
    QProcess m_process;
    int m_exitCode = -1;
    QString m_output;
    QTemporaryDir m_tempDir;
};
