#pragma once

#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <map>
#include <memory>

class QFile;

// One project packet being received from a designer. Files go into a staging folder next to the
// receive folder (its path plus ".receiving"); only commit() puts the staging folder in place of
// the receive folder, so no file of an earlier packet survives a new one and a broken reception
// leaves the earlier packet as it was.
//
// Everything the designer sends is checked: each "relativeFilePath" must name a plain path below
// the packet (see safeSegments), each file must bring exactly its "size" and all files together
// the total announced at begin(). Any operation answering false has found a fault; the caller
// then abort()s. Lives in the thread of its worker; not thread-safe.
class PacketReception
{
public:
    PacketReception();
    ~PacketReception();
    PacketReception(const PacketReception&) = delete;
    PacketReception& operator=(const PacketReception&) = delete;

    bool isActive() const { return m_active; }
    // Starts a packet of totalSize bytes for receiveDir, with an empty staging folder.
    bool begin(const QString& receiveDir, qint64 totalSize);
    // A file's information ("relativeFilePath", "size") arrived: creates it in the staging folder.
    bool openFile(const QVariantMap& info);
    // Content of the file that info names; last closes it.
    bool write(const QVariantMap& info, const QByteArray& data, bool last);
    // At least one file and every announced byte arrived, and every file is closed: replaces the
    // receive folder by the staging folder. Ends the reception either way.
    bool commit();
    // Drops the reception: closes the open files and removes the staging folder.
    void abort();
    // Bytes received / total; 1 for a total of 0.
    double rate() const;

    static QString stagingPathOf(const QString& receiveDir);
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

    QString m_receiveDir;
    QString m_staging;
    QString m_canonicalStaging;
    std::map<QString, OpenFile> m_open;
    QSet<QString> m_done;
    qint64 m_total = 0;
    qint64 m_received = 0;
    // Sum of the sizes of the files opened so far.
    qint64 m_announced = 0;
    bool m_active = false;
};
