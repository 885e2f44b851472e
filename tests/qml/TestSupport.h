#pragma once

#include <QObject>
#include <QProcess>
#include <QStringList>

// What the Quick tests need beyond the program's own services, exposed as "testSupport": the
// undo history's steps (the program reaches them through its undo and redo actions), and one
// helper program at a time run without blocking the event loop, so a test can drive the real
// window (xdotool) while the window keeps handling events, and the few file operations with which
// a test prepares folders and checks what a save wrote.
class TestSupport : public QObject
{
    Q_OBJECT

public:
    explicit TestSupport(QObject* parent = nullptr);

    Q_INVOKABLE void undo();
    Q_INVOKABLE void redo();

    // A new empty folder under the test's HOME whose name begins with `name`.
    Q_INVOKABLE QString makeFolder(const QString& name);
    Q_INVOKABLE bool writeFile(const QString& path, const QString& text);
    // The file's text, read as UTF-8 ("" when it cannot be read).
    Q_INVOKABLE QString readFile(const QString& path) const;
    Q_INVOKABLE bool exists(const QString& path) const;
    // Whether the file is a picture with at least one pixel that is neither black nor transparent.
    Q_INVOKABLE bool isDrawnImage(const QString& path) const;

    // Starts program with arguments; false when another run is still going or it cannot start.
    Q_INVOKABLE bool start(const QString& program, const QStringList& arguments);
    Q_INVOKABLE bool isRunning() const;
    // The exit code of the last finished run, -1 before the first one or after a crash.
    Q_INVOKABLE int exitCode() const;
    Q_INVOKABLE QString output() const;

Q_SIGNALS:
    void finished(int exitCode);

private:
    QProcess m_process;
    int m_exitCode = -1;
    QString m_output;
};
