#pragma once

#include <QImage>
#include <QString>

// Decodes the JPEG images the media server sends as standard Base64 text (characters outside the
// alphabet are skipped). A payload is bounded before anything is decoded: text longer than the
// kind's limit, or a JPEG whose header announces a side longer than the kind's limit, is dropped
// with a warning and answers a null image, as does anything that does not decode. The reader's
// allocation limit backs the size check up. Thread-safe (holds nothing).
class RCCmdImageDecoder
{
public:
    enum EImageKind
    {
        EImageKind_Stage,     // the stage image: up to 4096 x 4096
        EImageKind_Thumbnail, // a program node's thumbnail: up to 1024 x 1024
    };

    struct Limits
    {
        qsizetype maxBase64Length;
        int maxSide;
        int allocationLimitMb;
    };
    static Limits limitsOf(EImageKind kind);

    static QImage decode(const QString& base64, EImageKind kind);
};
