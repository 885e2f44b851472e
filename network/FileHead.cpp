#include "network/FileHead.h"

#include <QtEndian>

FileHead FileHead::read(const char* p)
{
    FileHead head;
    head.magic = qFromLittleEndian<quint64>(p);
    head.infoLength = qFromLittleEndian<qint32>(p + 8);
    return head;
}

QByteArray FileHead::toBytes() const
{
    QByteArray out(Size, '\0');
    qToLittleEndian<quint64>(magic, out.data());
    qToLittleEndian<qint32>(infoLength, out.data() + 8);
    return out;
}
