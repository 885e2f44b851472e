#pragma once

#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <functional>
#include <map>
#include <memory>

class QFile;

// One project packet being received from a designer. Files go into a staging folder next to the
// receive folder (its path plus ".receiving"). commit() turns a whole packet into the received
// folder (its path plus ".received"), which waits there for the one who handles the completed
// packet: installReceived() puts it in place of the receive folder once the packet has proved
// usable, discardReceived() drops it. No file of an earlier packet survives a new one, and a
// broken or unusable packet leaves the installed one as it was.
//
// Everything the designer sends is checked: each "relativeFilePath" must name a plain path below
// the packet (see safeSegments), each file must bring exactly its "size" and all files together
// the total announced at begin(). What is still to come must fit into the free space of the
// receive folder less kFreeSpaceMargin: at begin(), at each file and after every
// kFreeSpaceRecheckBytes of content. Any operation answering false has found a fault, which
// fault() names until the next begin(); the caller then abort()s.
//
// The staging folder belongs to the reception. The received folder belongs to it until commit()
// answers true, and from then on to whoever handles the completed packet (it may live in another
// thread); a later commit() replaces a received folder that nobody took. Lives in the thread of
// its worker; not thread-safe.
class PacketReception
{
public:
    // Bytes available to this user in the file system holding folder; negative when unknown.
    using FreeSpaceReader = std::function<qint64(const QString& folder)>;
    static constexpr qint64 kFreeSpaceMargin = 64 * 1024 * 1024;
    static constexpr qint64 kFreeSpaceRecheckBytes = 4 * 1024 * 1024;

    enum class Fault
    {
        None,
        BadData,     // what the designer sent is out of turn or out of bounds
        NoSpace,     // what is still to come does not fit, or the disk refused a write as full
        WriteFailed, // a file or folder could not be made or written for another reason
    };

    // Without a reader, the free space is the file system's (QStorageInfo).
    explicit PacketReception(FreeSpaceReader freeSpace = {});
    ~PacketReception();
    PacketReception(const PacketReception&) = delete;
    PacketReception& operator=(const PacketReception&) = delete;

    bool isActive() const { return m_active; }
    // Starts a packet of totalSize bytes for receiveDir, with an empty staging folder; refused
    // (and nothing left behind) when totalSize does not fit into the free space.
    bool begin(const QString& receiveDir, qint64 totalSize);
    // A file's information ("relativeFilePath", "size") arrived: creates it in the staging folder.
    bool openFile(const QVariantMap& info);
    // Content of the file that info names; last closes it.
    bool write(const QVariantMap& info, const QByteArray& data, bool last);
    // At least one file and every announced byte arrived, and every file is closed: the staging
    // folder becomes the received folder. Ends the reception either way.
    bool commit();
    // Drops the reception: closes the open files and removes the staging folder.
    void abort();
    // Bytes received / total; 1 for a total of 0.
    double rate() const;
    Fault fault() const { return m_fault; }

    static QString stagingPathOf(const QString& receiveDir);
    static QString receivedPathOf(const QString& receiveDir);
    // Where an install moves the installed packet aside while it puts the received one in place.
    static QString previousPathOf(const QString& receiveDir);
    // Puts the received folder in place of receiveDir; on failure receiveDir stays as it was and
    // the received folder goes. False also when no packet was received.
    static bool installReceived(const QString& receiveDir);
    static void discardReceived(const QString& receiveDir);
    // The path levels of a designer's relative path, split at "/" and "\", or an empty list when
    // it is empty, absolute, names a drive or a UNC share, or holds an empty level, "." or "..",
    // ":" or a control character.
    static QStringList safeSegments(const QString& relativePath);

private:
    struct OpenFile
    {
        std::unique_ptr<QFile> file;
        qint64 expected = 0;
        qint64 written = 0;
    };

    // The key of a file: its checked levels joined by "/"; empty when refused.
    static QString keyOf(const QVariantMap& info);
    void closeAll();
    // Whether the bytes still to come fit into the free space less the margin.
    bool stillFits();
    // Records fault and answers false.
    bool fail(Fault fault);
    // NoSpace when the disk refused what was written to file as full, else WriteFailed.
    static Fault writeFault(const QFile& file);

    QString m_receiveDir;
    QString m_staging;
    QString m_canonicalStaging;
    std::map<QString, OpenFile> m_open;
    QSet<QString> m_done;
    qint64 m_total = 0;
    qint64 m_received = 0;
    // Sum of the sizes of the files opened so far.
    qint64 m_announced = 0;
    // m_received when the free space was last read.
    qint64 m_checkedAt = 0;
    FreeSpaceReader m_freeSpace;
    bool m_active = false;
    Fault m_fault = Fault::None;
};
