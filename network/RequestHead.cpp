#include "network/RequestHead.h"

#include <QtEndian>

#include <cstring>

bool RequestHead::hasMagic(const char* p)
{
    return p[0] == MagicByte && p[1] == MagicByte && p[2] == MagicByte && p[3] == MagicByte;
}

RequestHead RequestHead::read(const char* p)
{
    RequestHead head;
    head.length = qFromLittleEndian<qint32>(p + 4);
    head.uid = qFromLittleEndian<quint64>(p + 8);
    head.last = p[16] != 0;
    head.type = qFromLittleEndian<quint32>(p + 20);
    return head;
}

void RequestHead::write(char* p) const
{
    std::memset(p, MagicByte, 4);
    qToLittleEndian<qint32>(length, p + 4);
    qToLittleEndian<quint64>(uid, p + 8);
    p[16] = last ? 1 : 0;
    p[17] = p[18] = p[19] = 0;
    qToLittleEndian<quint32>(type, p + 20);
}

QByteArray RequestHead::frame(quint64 uid, quint32 type, bool last, const QByteArray& payload)
{
    RequestHead head;
    head.length = qint32(payload.size());
    head.uid = uid;
    head.last = last;
    head.type = type;
    QByteArray out(Size + payload.size(), Qt::Uninitialized);
    head.write(out.data());
    if (!payload.isEmpty())
        std::memcpy(out.data() + Size, payload.constData(), size_t(payload.size()));
    return out;
}
