#pragma once

#include <QByteArray>
#include <QtGlobal>

// Request types carried in a frame head.
enum ERequestType : quint32
{
    ERequestType_Message = 0,
    ERequestType_File = 1
};

// The 24-byte head in front of every framed chunk: magic 02 02 02 02, signed
// 32-bit payload length, 64-bit uid, last flag, three zero bytes, 32-bit type;
// all little-endian, written and read field by field.
struct RequestHead
{
    static constexpr int Size = 24;
    static constexpr char MagicByte = 0x02;

    qint32 length = 0;
    quint64 uid = 0;
    bool last = false;
    quint32 type = 0;

    // Whether the four bytes at p are the magic. p must hold at least 4 bytes.
    static bool hasMagic(const char* p);
    // Reads the fields after the magic. p must hold at least Size bytes.
    static RequestHead read(const char* p);
    // Writes the head into p, which must hold at least Size bytes.
    void write(char* p) const;

    // One frame: the head for payload (its length taken from payload) followed by payload.
    static QByteArray frame(quint64 uid, quint32 type, bool last, const QByteArray& payload);
};
