#include "mirror/RCCmdImageDecoder.h"

#include <QBuffer>
#include <QByteArray>
#include <QDebug>
#include <QImageReader>

RCCmdImageDecoder::Limits RCCmdImageDecoder::limitsOf(EImageKind kind)
{
    // Far above what a server sends (a 1920 x 1080 stage JPEG is a few hundred KB), far below
    // what would hurt: a 4096 x 4096 image takes 64 MB once decoded, a thumbnail at most 4 MB.
    if (kind == EImageKind_Stage)
        return Limits{12 * 1024 * 1024, 4096, 96};
    return Limits{2 * 1024 * 1024, 1024, 8};
}

QImage RCCmdImageDecoder::decode(const QString& base64, EImageKind kind)
{
    if (base64.isEmpty())
        return QImage();
    const Limits limits = limitsOf(kind);
    const char* what = kind == EImageKind_Stage ? "stage image" : "thumbnail";
    if (base64.size() > limits.maxBase64Length) {
        qWarning() << "RCCmdImageDecoder::decode" << what << "dropped: Base64 text of" << base64.size()
                   << "characters";
        return QImage();
    }
    QByteArray jpeg = QByteArray::fromBase64(base64.toUtf8());
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "jpg");
    reader.setAllocationLimit(limits.allocationLimitMb);
    const QSize size = reader.size();
    if (!size.isValid()) {
        qWarning() << "RCCmdImageDecoder::decode" << what << "dropped: not a JPEG";
        return QImage();
    }
    if (size.width() > limits.maxSide || size.height() > limits.maxSide) {
        qWarning() << "RCCmdImageDecoder::decode" << what << "dropped: JPEG of" << size.width() << "x"
                   << size.height();
        return QImage();
    }
    QImage image;
    if (!reader.read(&image)) {
        qWarning() << "RCCmdImageDecoder::decode" << what << "dropped:" << reader.errorString();
        return QImage();
    }
    return image;
}
