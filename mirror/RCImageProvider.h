#pragma once

#include <QImage>
#include <QMap>
#include <QMutex>
#include <QQuickImageProvider>
#include <QString>

// Hands the media server's images to QML under "image://stelvaneImageProvider/<image id>": the
// stage image (id "stageViewImage", black 1920 x 1080 until the first one arrives) and the program
// nodes' thumbnails, filed by an image id made from the node id.
//
// Threads: the mirror writes on the GUI thread; the engine calls requestImage on its image thread.
// Every access to the stored images takes the provider's lock; requestImage holds it only to find
// and copy (share) the source, and scales outside it. Owned by the engine it is registered with.
class RCImageProvider : public QQuickImageProvider
{
public:
    // Largest width or height requestImage scales to; larger requests are capped.
    static constexpr int kMaxRequestedSide = 8192;

    // Most bytes the thumbnails may hold together (a node table's thumbnails are small; a server
    // cannot make the panel hold more than this however many it sends).
    static constexpr qsizetype kMaxThumbnailBytes = qsizetype(256) * 1024 * 1024;

    RCImageProvider(ImageType type, Flags flags = Flags(), qsizetype maxThumbnailBytes = kMaxThumbnailBytes);

    QString getName() const { return m_name; }
    QString getStageImageId() const { return m_stageImageId; }
    void setStageImage(const QImage& image);

    // A single plain url segment made from id: '{', '}' and '/' become '_', and so does every other
    // character outside letters, digits, '-', '.', '_' and '~', written as "_" and its UTF-16 code
    // in four hex digits, so that no id can break the url.
    static QString toImageId(const QString& id);
    // Stores image under toImageId(id), replacing what was there, and answers its url. An image
    // that would take the thumbnails past their byte limit is stored as a null image (served as
    // missing), with a warning.
    QString addImage(QString id, QImage image);
    void removeImage(QString id);
    int imageCount() const;

    // The stage image or the thumbnail stored under id, scaled to the requested size (either side
    // when it is 1 or more, capped at kMaxRequestedSide); *size gets the source's size. An unknown
    // id, or one whose stored image is null, answers a transparent 20 x 20 image.
    QImage requestImage(const QString& id, QSize* size, const QSize& requestedSize) override;

private:
    mutable QMutex m_lock;
    QImage m_stageImage;
    // Whether m_stageImage holds the stage (a set one, or the black one made on first request).
    bool m_stageImageSet = false;
    const QString m_stageImageId = QStringLiteral("stageViewImage");
    const QString m_name = QStringLiteral("stelvaneImageProvider");
    QMap<QString, QImage> m_thumbnails;
    const qsizetype m_maxThumbnailBytes;
    qsizetype m_thumbnailBytes = 0;
};
