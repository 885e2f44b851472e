#pragma once

#include <QJsonValue>
#include <QSet>
#include <QString>
#include <QtGlobal>

#include <future>

// The project file as the program last read or wrote it: its path, its identity on disk (size
// and last change, to the nanosecond where the file system keeps it) and the pictures of an image
// folder that it names. A save asks it whether the file it is about to replace is still that one
// and which pictures that file named, instead of reading and parsing the file again.
//
// The pictures of a file read are worked out on a thread of their own from its parse, which that
// thread shares until it is done; pictures() awaits them. A save knows them already. Owned by the packet I/O; used on one thread (the GUI thread). The worker touches nothing
// but its copy of the JSON and the file system.
class RCProjectFileRecord
{
public:
    // Size -1 when there is no file.
    struct Identity
    {
        qint64 size = -1;
        qint64 modifiedNs = 0;
        bool operator==(const Identity& other) const
        {
            return size == other.size && modifiedNs == other.modifiedNs;
        }
        bool operator!=(const Identity& other) const { return !(*this == other); }
    };
    static Identity identityOf(const QString& filePath);

    enum class State {
        // Nothing is recorded of this file (or of its pictures in that folder).
        Unknown,
        // The file is as the program last read or wrote it.
        Unchanged,
        // The file is there but is not as the program last read or wrote it: another program or
        // another instance wrote it since.
        Changed,
        // The file the program read or wrote is gone.
        Gone
    };

    RCProjectFileRecord() = default;
    ~RCProjectFileRecord();
    RCProjectFileRecord(const RCProjectFileRecord&) = delete;
    RCProjectFileRecord& operator=(const RCProjectFileRecord&) = delete;

    // Records the file at filePath as it is on disk now, as the one the program just read or
    // wrote, whose content `json` is; the pictures of imageFolder that it names are worked out
    // from `json` (RCImageManager::filesNamedBy).
    void record(const QString& filePath, const QString& imageFolder, const QJsonValue& json);
    // Records it with the pictures of imageFolder that it names known already.
    void record(const QString& filePath, const QString& imageFolder, const QSet<QString>& pictures);

    // What the file at filePath is now against the record, for its pictures in imageFolder
    // (Unknown when those were worked out for another folder; no folder: whatever the folder).
    State state(const QString& filePath, const QString& imageFolder = QString()) const;

    // The pictures that the recorded file names, awaited; none when nothing is recorded.
    QSet<QString> pictures() const;
    // Ready once those pictures are known and the JSON they were worked out from is let go (invalid
    // when nothing is recorded). A copy may be awaited on any thread.
    std::shared_future<QSet<QString>> picturesKnown() const { return m_pictures; }

private:
    void recordFile(const QString& filePath, const QString& imageFolder);

    QString m_path;
    QString m_imageFolder;
    Identity m_identity;
    std::shared_future<QSet<QString>> m_pictures;
};
