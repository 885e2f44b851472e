#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QTimer>

// The list of project packet folders the user opened or saved, newest first, kept in
// "<home>/Tavix/recently.data". At construction it drops folders that no longer exist or
// are empty and imports the packet folders of the older "<home>/Tavix/projectList" layout.
//
// File format: every path followed by ">", then one line feed. Paths are stored exactly as
// given (white space included); a path containing ">" cannot be stored and is refused.
// The file is replaced atomically, whole or not at all.
//
// Instances on the same home share the file: a change is written by reading the file, replaying
// on it the changes of ours that it lacks, and writing the result, under the lock file
// "recently.data.lock", so that every instance keeps its changes. Reading needs no lock. Nothing
// here waits for the lock while the window runs: when another instance holds it, the change is
// kept in memory (the list shows it at once) and written as soon as the lock is free (tried again
// every RetryMs), or at exit (writePending). A change that changes nothing in the list writes
// nothing and takes no lock.
//
// saveFailed tells the user, once per reason until the file is written again: at once when the file
// or its lock cannot be made or the lock path is no lock file, and after TellAfterMs when another
// instance keeps the lock that long.
//
// GUI thread only (the retry timer). instance() is the process-wide record; it is created on first
// use and never deleted.
class RCRecentProjectRecord : public QObject
{
    Q_OBJECT

public:
    static constexpr int MaxEntries = 24;
    static constexpr int RetryMs = 200;
    static constexpr int TellAfterMs = 3000;
    // How long the exit waits for another instance's lock, once the window is gone.
    static constexpr int ExitWaitMs = 2000;

    static RCRecentProjectRecord* instance();

    // Reads the record file under the current home folder. Public so that a record can be
    // built afresh for another home folder; the program itself uses instance().
    explicit RCRecentProjectRecord(QObject* parent = nullptr);

    // Whether a path can be stored in the record file: not empty, without ">" (the separator)
    // and without line breaks. Callers refuse to name a packet by any other path, so that no
    // packet drops out of the list.
    static bool canRecord(const QString& path);

    // Both read the record file again first (refresh()), so that what another instance on the same
    // home wrote is kept.
    void addDirPath(const QString& path);
    void removeDirPath(const QString& path);
    // Takes the list from the record file as it is now (another instance may have written it), with
    // the changes of ours that it lacks on top. Nothing changes when the file cannot be read.
    void refresh();
    QStringList getDirPathList() const { return m_dirPaths; }
    bool contains(const QString& path) const { return m_dirPaths.contains(path); }

    QString recordFilePath() const { return m_recordFilePath; }
    QString lockFilePath() const { return m_recordFilePath + QStringLiteral(".lock"); }

    // Writes the changes that the file lacks, waiting up to waitMs for a lock that another instance
    // holds (0: not at all). Returns whether the file has them all. The program calls it with a wait
    // at exit, once its window is gone.
    bool writePending(int waitMs = 0);

Q_SIGNALS:
    void dirPathAdded(const QString& path);
    void dirPathRemoved(const QString& path);
    void dirPathMoved(const QString& path, int index);
    // The list's changes could not be written (see the class comment); the list in memory keeps
    // them and they are written once that is possible. `reason` is for the user.
    void saveFailed(const QString& reason);

private:
    struct Change
    {
        enum Kind { Add, Remove, Clean } kind;
        QString path;
    };

    static bool isNonEmptyDir(const QString& path);
    // The record file's pieces; false when it cannot be read.
    bool readPieces(QStringList* pieces) const;
    // `list` with m_pending replayed on it, de-duplicated and cut to MaxEntries.
    QStringList withPending(QStringList list) const;
    // Drops folders that are gone or empty and appends the packets of the older layout.
    QStringList cleaned(const QStringList& list) const;
    void note(const Change& change);
    void failed(const QString& reason);

    QString m_recordFilePath;
    QString m_legacyDirPath;
    // The list as the record file held it when last read or written.
    QStringList m_stored;
    // Changes of ours that the file lacks, oldest first.
    QList<Change> m_pending;
    // m_stored with m_pending on top: what the list is.
    QStringList m_dirPaths;
    QTimer m_retry;
    // Since when another instance keeps the lock from a pending change.
    QElapsedTimer m_heldSince;
    // The last reason the user was told, until the file is written again.
    QString m_told;
    bool m_constructed = false;
};
