#pragma once

// Pieces of the checks and benchmarks in which a thread of their own writes to the panel over
// loopback as fast as TCP takes it: the blocking listener that thread accepts on, its writes, and
// the receiver that takes its time over each command. With shrinkTcpBuffers() of
// IsolatedNetwork.h, what such a writer got past TCP is, but for a few dozen KB, what the panel
// holds.

#include <QByteArray>
#include <QElapsedTimer>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

// A blocking TCP listener on a free loopback port. Owns the socket: shutdown() wakes a thread
// blocked in accept(), the destructor closes it (join that thread in between).
struct LoopbackListener
{
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    int port = 0;

    LoopbackListener() = default;
    LoopbackListener(const LoopbackListener&) = delete;
    LoopbackListener& operator=(const LoopbackListener&) = delete;
    ~LoopbackListener()
    {
        if (fd >= 0)
            ::close(fd);
    }

    // Binds a free port of 127.0.0.1 and listens for one connection; false when a step fails.
    bool listen()
    {
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof addr;
        if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(fd, 1) != 0 ||
            ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0)
            return false;
        port = ntohs(addr.sin_port);
        return true;
    }
    void shutdown() { ::shutdown(fd, SHUT_RDWR); }
};

// Writes all of bytes to the blocking socket fd; false once a write fails (the peer gone, a
// send time-out), with part of it maybe written.
inline bool sendAll(int fd, const QByteArray& bytes)
{
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.constData() + sent, size_t(bytes.size() - sent), MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        sent += n;
    }
    return true;
}

// Keeps the calling thread busy for nsecs: a receiver slower than the link reads.
inline void spinFor(qint64 nsecs)
{
    QElapsedTimer busy;
    busy.start();
    while (busy.nsecsElapsed() < nsecs) {
    }
}
