#include "network/HostAddressText.h"

QString HostAddressText::of(const QHostAddress& address)
{
    bool isIPv4 = false;
    const quint32 v4 = address.toIPv4Address(&isIPv4);
    return isIPv4 ? QHostAddress(v4).toString() : address.toString();
}

QString HostAddressText::normalised(const QString& text)
{
    QHostAddress address;
    if (!address.setAddress(text.trimmed()))
        return QString();
    return of(address);
}
