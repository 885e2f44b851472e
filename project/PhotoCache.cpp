#include "project/PhotoCache.h"

#include "project/RCFileWrite.h"
#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMutex>
#include <QMutexLocker>
#include <QStandardPaths>

#include <atomic>

PhotoCache* PhotoCache::instance()
{
    static std::atomic<PhotoCache*> cache{nullptr};
    static QMutex creationLock;
    PhotoCache* existing = cache.load(std::memory_order_acquire);
    if (existing)
        return existing;
    QMutexLocker locker(&creationLock);
    existing = cache.load(std::memory_order_relaxed);
    if (!existing) {
        existing = new PhotoCache;
        cache.store(existing, std::memory_order_release);
    }
    return existing;
}

PhotoCache::PhotoCache(QObject* parent)
    : QObject(parent),
      m_cacheDirPath(QStringLiteral("%1/%2/%3")
                         .arg(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
                              QStringLiteral("Tavix"), QStringLiteral("photoCache")))
{
    QDir().mkpath(m_cacheDirPath);
}

QString PhotoCache::cacheImage(const QImage& img)
{
    if (img.isNull())
        return QString();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!img.save(&buffer, "png") || png.isEmpty())
        return QString();

    const QString name = QString::fromLatin1(QCryptographicHash::hash(png, QCryptographicHash::Md5).toHex());
    const QString path = QStringLiteral("%1/%2.%3").arg(m_cacheDirPath, name, QStringLiteral("png"));
    if (QFile::exists(path))
        return path;

    QDir().mkpath(m_cacheDirPath);
    if (!RCFileWrite::write(path, png))
        return QString();
    return path;
}

void PhotoCache::clear()
{
    QDir dir(m_cacheDirPath);
    if (!dir.exists())
        return;
    const QFileInfoList entries = dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QFileInfo& entry : entries) {
        if (!entry.isDir())
            QFile::remove(entry.absoluteFilePath());
    }
}
