#pragma once

#include "model/RCSceneItemRecords.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QString>

#include <future>
#include <vector>

// Reads a project file's bytes and parses them as JSON, either at once (read()) or ahead, on a
// thread of its own, while the program does other start-up work (the main window's QML types):
// the parse of a large project then costs the start no time of the GUI thread's own.
//
// A read-ahead is handed over once, to the first load that asks for a file (take()): only a load
// of the same file (compared as resolved paths) gets its result, any other load reads as usual and
// the read-ahead is dropped. The read-ahead reads nothing but the one file, touches no object of
// the program and logs nothing; the load that takes it checks and reports the result as it does
// its own reads.
//
// Owned by whoever made it; take() and the destructor (which awaits the read) on the thread that
// made it. May be made before the application object, on the thread that then makes it: that
// thread stays Qt's main thread.
class RCProjectFileReader
{
public:
    struct Result
    {
        // False when the file could not be opened.
        bool opened = false;
        QJsonDocument document;
        QJsonParseError error{0, QJsonParseError::NoError};
        // The item records of each scene of "sceneArray", when the parse read them (large files):
        // the load then builds the items from them.
        std::vector<RCSceneItemRecords::SceneRows> sceneRows;
        // The file as it was when it was read: its size and last change.
        qint64 size = -1;
        QDateTime modified;
    };

    // Reads and parses the file at filePath now.
    static Result read(const QString& filePath);
    // The local path of a file named by a path or a "file:" URL, as a project load takes it.
    static QString localPath(const QString& filePathOrUrl);

    // Starts reading the file named by filePathOrUrl on a thread of its own, when it is the project
    // file of its folder (RCPacketFolder::projectFileOf).
    explicit RCProjectFileReader(const QString& filePathOrUrl);
    ~RCProjectFileReader();
    RCProjectFileReader(const RCProjectFileReader&) = delete;
    RCProjectFileReader& operator=(const RCProjectFileReader&) = delete;

    // The result of the read-ahead, awaited, when it read the file at filePath and the file has not
    // changed since; else the file read now. Either way the read-ahead is over: a second call reads
    // the file now.
    Result take(const QString& filePath);
    // Awaits the read-ahead, which take() and the destructor also do.
    void wait() const;

private:
    QString m_resolvedPath;
    std::future<Result> m_ahead;
};
