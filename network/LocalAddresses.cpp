#include "network/LocalAddresses.h"

#include <QNetworkInterface>
#include <QRegularExpression>

QStringList LocalAddresses::localIPv4Addresses()
{
    static const QRegularExpression ipv4(
        QStringLiteral("((2[0-4]\\d|25[0-5]|[01]?\\d\\d?)\\.){3}(2[0-4]\\d|25[0-5]|[01]?\\d\\d?)"));
    QStringList out;
    const QList<QNetworkInterface> interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface& iface : interfaces) {
        const auto flags = iface.flags();
        if (!flags.testFlag(QNetworkInterface::IsRunning) || flags.testFlag(QNetworkInterface::IsLoopBack))
            continue;
        const QList<QNetworkAddressEntry> entries = iface.addressEntries();
        for (const QNetworkAddressEntry& entry : entries) {
            const QString address = entry.ip().toString();
            if (ipv4.match(address).hasMatch() && ipv4.match(entry.netmask().toString()).hasMatch() &&
                ipv4.match(entry.broadcast().toString()).hasMatch())
                out << address;
        }
    }
    return out;
}
