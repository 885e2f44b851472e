#include "network/LinkKeepAlive.h"

#if defined(Q_OS_WIN)
#include <winsock2.h>
#include <ws2tcpip.h>
#include <mstcpip.h>
#else
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#endif

namespace {
#if defined(Q_OS_WIN)
bool fail(const char* option, QString* error)
{
    if (error)
        *error = QStringLiteral("%1: WSA error %2").arg(QLatin1String(option)).arg(WSAGetLastError());
    return false;
}
#else
bool setInt(int fd, int level, int option, int value, const char* name, QString* error)
{
    if (::setsockopt(fd, level, option, &value, sizeof value) == 0)
        return true;
    if (error)
        *error = QStringLiteral("%1: %2").arg(QLatin1String(name), QString::fromLocal8Bit(std::strerror(errno)));
    return false;
}
#endif
} // namespace

bool LinkKeepAlive::applyTo(qintptr descriptor, QString* error) const
{
#if defined(Q_OS_WIN)
    // Windows: idle time and interval in milliseconds through one control code; the probe count
    // (Windows 10 1703 and later) and the retransmission bound (TCP_MAXRT, whole seconds) as options.
    const SOCKET s = SOCKET(descriptor);
    tcp_keepalive values{};
    values.onoff = 1;
    values.keepalivetime = ULONG(idleSeconds) * 1000;
    values.keepaliveinterval = ULONG(intervalSeconds) * 1000;
    DWORD returned = 0;
    if (WSAIoctl(s, SIO_KEEPALIVE_VALS, &values, sizeof values, nullptr, 0, &returned, nullptr, nullptr) != 0)
        return fail("SIO_KEEPALIVE_VALS", error);
    const DWORD count = DWORD(probeCount);
    if (setsockopt(s, IPPROTO_TCP, TCP_KEEPCNT, reinterpret_cast<const char*>(&count), sizeof count) != 0)
        return fail("TCP_KEEPCNT", error);
    const DWORD maxRetransmitSeconds = DWORD((unacknowledgedMs + 999) / 1000);
    if (setsockopt(s, IPPROTO_TCP, TCP_MAXRT, reinterpret_cast<const char*>(&maxRetransmitSeconds),
                   sizeof maxRetransmitSeconds) != 0)
        return fail("TCP_MAXRT", error);
    return true;
#elif defined(Q_OS_LINUX)
    const int fd = int(descriptor);
    return setInt(fd, SOL_SOCKET, SO_KEEPALIVE, 1, "SO_KEEPALIVE", error) &&
           setInt(fd, IPPROTO_TCP, TCP_KEEPIDLE, idleSeconds, "TCP_KEEPIDLE", error) &&
           setInt(fd, IPPROTO_TCP, TCP_KEEPINTVL, intervalSeconds, "TCP_KEEPINTVL", error) &&
           setInt(fd, IPPROTO_TCP, TCP_KEEPCNT, probeCount, "TCP_KEEPCNT", error) &&
           setInt(fd, IPPROTO_TCP, TCP_USER_TIMEOUT, unacknowledgedMs, "TCP_USER_TIMEOUT", error);
#else
    // Other systems: keep-alive with the system's own timers only.
    const int fd = int(descriptor);
    return setInt(fd, SOL_SOCKET, SO_KEEPALIVE, 1, "SO_KEEPALIVE", error);
#endif
}
