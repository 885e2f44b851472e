#pragma once

#include <QObject>
#include <QStringList>

#include <functional>

// The list of project packet folders the user opened or saved, newest first, kept in
// "<home>/Tavix/recently.data". At construction it drops folders that no longer exist or
// are empty and imports the packet folders of the older "<home>/Tavix/projectList" layout.
//
// File format: every path followed by ">", then one line feed. Paths are stored exactly as
// given (white space included); a path containing ">" cannot be stored and is refused.
// The file is replaced atomically on every change, whole or not at all (saveFailed tells).
// Every change reads the file, merges and writes it under the lock file "recently.data.lock", so
// that instances on the same home changing the list at once all keep their change. When the lock
// cannot be had within LockWaitMs the file is left as it is (logged) and the change stays in the
// list in memory, to be written with the next change; the caller (a save) goes on regardless.
//
// GUI thread only. instance() is the process-wide record; it is created on first use and
// never deleted.
class RCRecentProjectRecord : public QObject
{
    Q_OBJECT

public:
    static constexpr int MaxEntries = 24;
    static constexpr int LockWaitMs = 2000;

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
    // Takes the list from the record file as it is now (another instance may have written it),
    // keeping the changes of ours that could not be written. Nothing changes when the file cannot
    // be read.
    void refresh();
    QStringList getDirPathList() const { return m_dirPaths; }
    bool contains(const QString& path) const { return m_dirPaths.contains(path); }

    QString recordFilePath() const { return m_recordFilePath; }

Q_SIGNALS:
    void dirPathAdded(const QString& path);
    void dirPathRemoved(const QString& path);
    void dirPathMoved(const QString& path, int index);
    // The record file could not be written whole (a full disk): it stays as it was, the list in
    // memory has the change. `reason` is for the user.
    void saveFailed(const QString& reason);

private:
    static bool isNonEmptyDir(const QString& path);
    // The record file's pieces; false when it cannot be read.
    bool readPieces(QStringList* pieces) const;
    // Runs change (which reads the file and changes the list) and, when it returns true, writes
    // the list; both under the lock file.
    void update(const std::function<bool()>& change);
    // De-duplicates the list, keeps its newest MaxEntries entries and writes the file. The caller
    // holds the lock.
    void save();
    void trim();
    // Both return whether the list differs from the file.
    bool load();
    bool importLegacyFolders();

    QString m_recordFilePath;
    QString m_legacyDirPath;
    QStringList m_dirPaths;
    // The last write failed: the list holds changes that the file lacks.
    bool m_unsaved = false;
};
