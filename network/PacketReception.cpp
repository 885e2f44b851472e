#include "network/PacketReception.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStorageInfo>

namespace {
const QString kRelativePathKey = QStringLiteral("relativeFilePath");

// Whether path is folder or lies below it; both canonical.
bool isInside(const QString& path, const QString& folder)
{
    return !folder.isEmpty() && (path == folder || path.startsWith(folder + QLatin1Char('/')));
}

// Removes a file, a link (not what it points to) or a folder with everything in it.
bool removeEntry(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return true;
    if (info.isSymLink() || !info.isDir())
        return QFile::remove(path);
    return QDir(path).removeRecursively();
}

// A level that the platform could read as "." or ".." (Windows drops trailing dots and blanks).
bool isDotsOnly(const QString& level)
{
    for (const QChar c : level)
        if (c != QLatin1Char('.') && c != QLatin1Char(' '))
            return false;
    return true;
}
} // namespace

PacketReception::PacketReception(FreeSpaceReader freeSpace) : m_freeSpace(std::move(freeSpace))
{
    if (!m_freeSpace)
        m_freeSpace = [](const QString& folder) { return QStorageInfo(folder).bytesAvailable(); };
}

PacketReception::~PacketReception()
{
    abort();
}

QString PacketReception::stagingPathOf(const QString& receiveDir)
{
    return QDir::cleanPath(receiveDir) + QStringLiteral(".receiving");
}

QString PacketReception::receivedPathOf(const QString& receiveDir)
{
    return QDir::cleanPath(receiveDir) + QStringLiteral(".received");
}

QString PacketReception::previousPathOf(const QString& receiveDir)
{
    return QDir::cleanPath(receiveDir) + QStringLiteral(".previous");
}

QStringList PacketReception::safeSegments(const QString& relativePath)
{
    if (relativePath.isEmpty() || relativePath.contains(QLatin1Char(':')))
        return {};
    for (const QChar c : relativePath)
        if (c.category() == QChar::Other_Control)
            return {};
    static const QRegularExpression separators(QStringLiteral("[/\\\\]"));
    // A leading separator (absolute or UNC) gives an empty first level.
    const QStringList levels = relativePath.split(separators);
    for (const QString& level : levels)
        if (level.isEmpty() || isDotsOnly(level))
            return {};
    return levels;
}

QString PacketReception::keyOf(const QVariantMap& info)
{
    return safeSegments(info.value(kRelativePathKey).toString()).join(QLatin1Char('/'));
}

bool PacketReception::fail(Fault fault)
{
    m_fault = fault;
    return false;
}

PacketReception::Fault PacketReception::writeFault(const QFile& file)
{
    return file.error() == QFileDevice::ResourceError ? Fault::NoSpace : Fault::WriteFailed;
}

bool PacketReception::begin(const QString& receiveDir, qint64 totalSize)
{
    abort();
    m_fault = Fault::None;
    if (receiveDir.isEmpty() || totalSize < 0)
        return fail(Fault::BadData);
    m_receiveDir = QDir::cleanPath(receiveDir);
    m_staging = stagingPathOf(m_receiveDir);
    m_total = totalSize;
    m_received = 0;
    m_announced = 0;
    m_checkedAt = 0;
    // A staging folder left by a run that ended abruptly goes first: it holds space too.
    if (!removeEntry(m_staging))
        return fail(Fault::WriteFailed);
    if (!stillFits())
        return false;
    if (!QDir().mkpath(m_staging))
        return fail(Fault::WriteFailed);
    m_canonicalStaging = QFileInfo(m_staging).canonicalFilePath();
    m_active = true;
    return true;
}

bool PacketReception::openFile(const QVariantMap& info)
{
    const QString key = keyOf(info);
    if (!m_active || key.isEmpty()) {
        qWarning() << "PacketReception: refused path" << info.value(kRelativePathKey).toString();
        return fail(Fault::BadData);
    }
    bool isNumber = false;
    const qint64 size = info.value(QStringLiteral("size")).toString().toLongLong(&isNumber);
    if (!isNumber || size < 0 || size > m_total - m_announced) {
        qWarning() << "PacketReception: size out of the announced total" << key;
        return fail(Fault::BadData);
    }
    if (m_open.count(key) || m_done.contains(key)) {
        qWarning() << "PacketReception: file sent twice" << key;
        return fail(Fault::BadData);
    }
    m_checkedAt = m_received;
    if (!stillFits())
        return false;
    const QString path = m_staging + QLatin1Char('/') + key;
    const QString folder = QFileInfo(path).path();
    if (!QDir().mkpath(folder)) {
        qWarning() << "PacketReception: cannot make the folder of" << key;
        return fail(Fault::WriteFailed);
    }
    if (!isInside(QFileInfo(folder).canonicalFilePath(), m_canonicalStaging) || QFileInfo(path).isSymLink()) {
        qWarning() << "PacketReception: cannot place" << key;
        return fail(Fault::BadData);
    }
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        qWarning() << "PacketReception: cannot create" << path << file->errorString();
        return fail(writeFault(*file));
    }
    m_open[key] = OpenFile{std::move(file), size, 0};
    m_announced += size;
    return true;
}

bool PacketReception::write(const QVariantMap& info, const QByteArray& data, bool last)
{
    const auto it = m_open.find(keyOf(info));
    if (!m_active || it == m_open.end())
        return fail(Fault::BadData);
    OpenFile& open = it->second;
    if (data.size() > open.expected - open.written) {
        qWarning() << "PacketReception: more content than announced" << it->first;
        return fail(Fault::BadData);
    }
    if (m_received - m_checkedAt >= kFreeSpaceRecheckBytes) {
        m_checkedAt = m_received;
        if (!stillFits())
            return false;
    }
    // A write may take fewer bytes than asked (the disk filled up) without an error; the next
    // attempt then says why.
    qint64 written = 0;
    while (written < data.size()) {
        const qint64 n = open.file->write(data.constData() + written, data.size() - written);
        if (n <= 0)
            break;
        written += n;
    }
    if (written != data.size() || !open.file->flush()) {
        qWarning() << "PacketReception: write failed" << it->first << open.file->errorString();
        return fail(writeFault(*open.file));
    }
    open.written += data.size();
    m_received += data.size();
    if (!last)
        return true;
    if (open.written != open.expected) {
        qWarning() << "PacketReception: file ended short" << it->first;
        return fail(Fault::BadData);
    }
    open.file->close();
    if (open.file->error() != QFileDevice::NoError)
        return fail(writeFault(*open.file));
    m_done.insert(it->first);
    m_open.erase(it);
    return true;
}

bool PacketReception::commit()
{
    if (!m_active)
        return fail(Fault::BadData);
    // A packet without a file would only leave an empty folder in place of the earlier packet.
    if (!m_open.empty() || m_received != m_total || m_done.isEmpty()) {
        qWarning() << "PacketReception: packet incomplete" << m_received << "of" << m_total << "bytes,"
                   << m_done.size() << "files";
        abort();
        return fail(Fault::BadData);
    }
    const QString received = receivedPathOf(m_receiveDir);
    if (!removeEntry(received) || !QDir().rename(m_staging, received)) {
        qWarning() << "PacketReception: cannot keep the received packet" << received;
        abort();
        return fail(Fault::WriteFailed);
    }
    m_active = false;
    m_done.clear();
    return true;
}

bool PacketReception::installReceived(const QString& receiveDir)
{
    const QString target = QDir::cleanPath(receiveDir);
    const QString received = receivedPathOf(target);
    if (!QFileInfo(received).isDir())
        return false;
    const QString previous = previousPathOf(target);
    removeEntry(previous);
    const bool hadFolder = QFileInfo::exists(target) || QFileInfo(target).isSymLink();
    if (hadFolder && !QDir().rename(target, previous)) {
        qWarning() << "PacketReception: cannot move the installed packet aside" << target;
        discardReceived(target);
        return false;
    }
    if (!QDir().rename(received, target)) {
        qWarning() << "PacketReception: cannot put the received packet in place" << target;
        if (hadFolder)
            QDir().rename(previous, target);
        discardReceived(target);
        return false;
    }
    if (hadFolder)
        removeEntry(previous);
    return true;
}

void PacketReception::discardReceived(const QString& receiveDir)
{
    removeEntry(receivedPathOf(receiveDir));
}

void PacketReception::abort()
{
    closeAll();
    if (m_active)
        removeEntry(m_staging);
    m_active = false;
    m_done.clear();
}

void PacketReception::closeAll()
{
    for (auto& entry : m_open)
        entry.second.file->close();
    m_open.clear();
}

bool PacketReception::stillFits()
{
    const qint64 free = m_freeSpace(m_receiveDir);
    const qint64 toCome = m_total - m_received;
    if (free < 0 || toCome > free - kFreeSpaceMargin) {
        qWarning() << "PacketReception: no room for" << toCome << "more bytes in" << m_receiveDir << "with"
                   << free << "bytes free";
        // A disk whose free space cannot be read is not known to be full.
        return fail(free < 0 ? Fault::WriteFailed : Fault::NoSpace);
    }
    return true;
}

double PacketReception::rate() const
{
    if (m_total <= 0)
        return 1.0;
    return qMin(1.0, double(m_received) / double(m_total));
}
