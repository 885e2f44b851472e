#pragma once

#include <QByteArray>
#include <QtGlobal>

// The 16-byte first chunk of a file transfer: 64-bit magic 0x123, signed 32-bit
// length of the information text, four zero bytes; little-endian.
struct FileHead
{
    static constexpr int Size = 16;
    static constexpr quint64 Magic = 0x123;

    quint64 magic = Magic;
    qint32 infoLength = 0;

    static FileHead read(const char* p); // p must hold at least Size bytes
    QByteArray toBytes() const;
};
