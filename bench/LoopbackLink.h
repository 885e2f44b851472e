#pragma once

// Pieces shared by the benchmarks that time commands on loopback: percentiles, the bare-socket
// floor every control-link figure is compared to, and a stand-in media server in a thread of its
// own.

#include "tools/mediaserver-standin/MediaServerStandin.h"

#include <QThread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

namespace LoopbackLink {

using Clock = std::chrono::steady_clock;

inline double percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(p * double(v.size())))];
}

inline double microseconds(Clock::duration d)
{
    return std::chrono::duration<double, std::micro>(d).count();
}

inline bool readFully(int fd, char* buf, size_t n)
{
    while (n > 0) {
        const ssize_t r = ::read(fd, buf, n);
        if (r <= 0)
            return false;
        buf += r;
        n -= size_t(r);
    }
    return true;
}

// One-way latencies in microseconds (round trip / 2) of `count` blocking ping-pongs of a message the
// size of a short framed command between two threads over loopback TCP; empty when a socket fails.
inline std::vector<double> bareSocketOneWay(int count)
{
    const size_t size = 120;
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    ::listen(listener, 1);
    socklen_t len = sizeof addr;
    ::getsockname(listener, reinterpret_cast<sockaddr*>(&addr), &len);

    std::thread echo([listener, size] {
        const int fd = ::accept(listener, nullptr, nullptr);
        int one = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        std::vector<char> buf(size);
        while (readFully(fd, buf.data(), size))
            if (::write(fd, buf.data(), size) != ssize_t(size))
                break;
        ::close(fd);
    });
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    std::vector<char> buf(size, 'p');
    std::vector<double> oneWay;
    oneWay.reserve(size_t(count));
    for (int i = 0; i < count; ++i) {
        const auto t0 = Clock::now();
        if (::write(fd, buf.data(), size) != ssize_t(size) || !readFully(fd, buf.data(), size)) {
            oneWay.clear();
            break;
        }
        oneWay.push_back(microseconds(Clock::now() - t0) / 2);
    }
    ::close(fd);
    echo.join();
    ::close(listener);
    return oneWay;
}

// A stand-in media server on loopback (free ports) living in a thread of its own; stopped and
// deleted with this object.
struct StandinThread
{
    QThread thread;
    MediaServerStandin* standin = nullptr;

    bool start()
    {
        StandinOptions options;
        options.bindAddress = QHostAddress::LocalHost;
        options.discoveryPort = 0;
        options.tcpPort = 0;
        standin = new MediaServerStandin(options);
        standin->moveToThread(&thread);
        QObject::connect(&thread, &QThread::finished, standin, &QObject::deleteLater);
        thread.start();
        bool started = false;
        QMetaObject::invokeMethod(
            standin, [&] { started = standin->start(); }, Qt::BlockingQueuedConnection);
        return started;
    }
    ~StandinThread()
    {
        thread.quit();
        thread.wait();
    }
};

} // namespace LoopbackLink
