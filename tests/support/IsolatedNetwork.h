#pragma once

#include <QFile>
#include <QNetworkInterface>
#include <QProcess>
#include <QString>

// Programs that start the project root also start the control link, whose discovery broadcasts
// to the LAN. Tests and benchmarks that do so must run inside the private network namespace
// that scripts/netns-run.sh sets up (CTest starts them that way): there, besides loopback, only
// its veth pair "tavix0"/"tavix1" exists. Answers false, with the reason, anywhere else.
inline bool insidePrivateNetwork(QString* reason = nullptr)
{
    const auto interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface& iface : interfaces) {
        if (iface.flags().testFlag(QNetworkInterface::IsLoopBack))
            continue;
        if (iface.name() == QLatin1String("tavix0") || iface.name() == QLatin1String("tavix1"))
            continue;
        if (reason)
            *reason = QStringLiteral("network interface %1 is reachable: run this through CTest or under "
                                     "`unshare -rn scripts/netns-run.sh`")
                          .arg(iface.name());
        return false;
    }
    return true;
}

// Fails the running test, with the reason, outside the private network namespace.
#define QVERIFY_INSIDE_PRIVATE_NETWORK()                                                                     \
    do {                                                                                                     \
        QString privateNetworkReason;                                                                        \
        QVERIFY2(insidePrivateNetwork(&privateNetworkReason), qPrintable(privateNetworkReason));             \
    } while (false)

// Inside the private network namespace: gives "tavix0" a second address (on its /24) and takes the
// default route away, which makes a LAN without a gateway: a socket bound to no address then has
// no way to the limited broadcast address. False when a step fails.
inline bool shapeLanWithoutGateway(const QString& secondAddress)
{
    const QString ip = QStringLiteral("ip");
    return QProcess::execute(ip, {"addr", "add", secondAddress + "/24", "dev", "tavix0"}) == 0 &&
           QProcess::execute(ip, {"route", "del", "default"}) == 0;
}

// Inside the private network namespace: makes its TCP buffers small (16 KB each way), so that what
// a fast writer got past TCP but its reader has not handled is, but for a few dozen KB, what the
// reader holds. False when a setting cannot be written.
inline bool shrinkTcpBuffers()
{
    const QByteArray small = "4096 16384 16384";
    for (const char* path : {"/proc/sys/net/ipv4/tcp_rmem", "/proc/sys/net/ipv4/tcp_wmem"}) {
        QFile file(QString::fromLatin1(path));
        if (!file.open(QIODevice::WriteOnly) || file.write(small) != small.size())
            return false;
    }
    return true;
}
