#include "mirror/RCImageProvider.h"

#include <QDebug>
#include <QMutexLocker>

#include <algorithm>

namespace {
constexpr int kMissingImageSide = 20;

int targetSide(int requested, int source)
{
    return requested >= 1 ? std::min(requested, int(RCImageProvider::kMaxRequestedSide)) : source;
}
} // namespace

RCImageProvider::RCImageProvider(ImageType type, Flags flags, qsizetype maxThumbnailBytes)
    : QQuickImageProvider(type, flags), m_maxThumbnailBytes(maxThumbnailBytes)
{
}

void RCImageProvider::setStageImage(const QImage& image)
{
    QMutexLocker locker(&m_lock);
    m_stageImage = image;
    m_stageImageSet = true;
}

QString RCImageProvider::toImageId(const QString& id)
{
    QString imageId;
    imageId.reserve(id.size());
    for (const QChar c : id) {
        const char16_t u = c.unicode();
        const bool plain = (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9') ||
                           u == u'-' || u == u'.' || u == u'_' || u == u'~';
        if (plain)
            imageId.append(c);
        else if (u == u'{' || u == u'}' || u == u'/')
            imageId.append(QLatin1Char('_'));
        else
            imageId.append(QStringLiteral("_%1").arg(uint(u), 4, 16, QLatin1Char('0')));
    }
    return imageId;
}

QString RCImageProvider::addImage(QString id, QImage image)
{
    const QString imageId = toImageId(id);
    bool dropped = false;
    {
        QMutexLocker locker(&m_lock);
        const qsizetype kept = m_thumbnailBytes - m_thumbnails.value(imageId).sizeInBytes();
        dropped = kept + image.sizeInBytes() > m_maxThumbnailBytes;
        if (dropped)
            image = QImage();
        m_thumbnailBytes = kept + image.sizeInBytes();
        m_thumbnails.insert(imageId, image);
    }
    if (dropped) {
        qWarning() << "RCImageProvider::addImage"
                   << "thumbnail of" << id << "dropped: the thumbnails would pass" << m_maxThumbnailBytes
                   << "bytes";
    }
    return QStringLiteral("%1%2/%3").arg(QStringLiteral("image://"), m_name, imageId);
}

void RCImageProvider::removeImage(QString id)
{
    const QString imageId = toImageId(id);
    QMutexLocker locker(&m_lock);
    m_thumbnailBytes -= m_thumbnails.take(imageId).sizeInBytes();
}

int RCImageProvider::imageCount() const
{
    QMutexLocker locker(&m_lock);
    return int(m_thumbnails.size());
}

QImage RCImageProvider::requestImage(const QString& id, QSize* size, const QSize& requestedSize)
{
    QImage source;
    {
        QMutexLocker locker(&m_lock);
        if (id == m_stageImageId) {
            // The black stage of a server not heard yet (8 MB) is made when first asked for.
            if (!m_stageImageSet) {
                m_stageImage = QImage(1920, 1080, QImage::Format_ARGB32);
                m_stageImage.fill(QColor(0, 0, 0, 255));
                m_stageImageSet = true;
            }
            source = m_stageImage;
        } else {
            source = m_thumbnails.value(id);
        }
    }
    if (source.isNull()) {
        if (size)
            *size = QSize(kMissingImageSide, kMissingImageSide);
        QImage missing(kMissingImageSide, kMissingImageSide, QImage::Format_ARGB32);
        missing.fill(Qt::transparent);
        return missing;
    }
    if (size)
        *size = source.size();
    const QSize target(targetSide(requestedSize.width(), source.width()),
                       targetSide(requestedSize.height(), source.height()));
    if (target == source.size())
        return source;
    return source.scaled(target, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}
