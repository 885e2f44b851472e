#pragma once

#include "network/DiscoveryDatagram.h"
#include "network/NetworkLimits.h"
#include "network/RequestHead.h"

#include <QByteArray>
#include <QFile>
#include <QJsonObject>
#include <QList>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

// A hostile LAN host: a thread that sends datagrams of one kind as fast as it can to
// 127.0.0.1:port from `senders` loopback addresses (127.0.0.2 and up). Bounded: it ends after
// `limit` or `maxDatagrams`, whichever comes first, or on stop(). Use it only inside a private
// network namespace.
class DatagramFlood
{
public:
    enum Kind
    {
        Empty,              // zero-length datagrams
        UnfinishedHeads,    // a head announcing the largest frame, then filler that never completes it
        UnfinishedMessages, // whole chunks of one message per sender that never gets its last chunk
        Replies,            // well-formed "serverConfig" replies, each naming another address
        Garbage             // random bytes
    };

    DatagramFlood(Kind kind, quint16 port, int senders = 64,
                  std::chrono::milliseconds limit = std::chrono::milliseconds(3000),
                  quint64 maxDatagrams = 50'000'000)
        : m_port(port), m_limit(limit), m_maxDatagrams(maxDatagrams)
    {
        for (int i = 0; i < 256; ++i)
            m_datagrams << datagram(kind, i);
        for (int i = 0; i < senders; ++i) {
            const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
            sockaddr_in from = address(quint32(0x7f000002 + i), 0);
            if (fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&from), sizeof from) == 0)
                m_sockets << fd;
            else if (fd >= 0)
                ::close(fd);
        }
    }
    ~DatagramFlood()
    {
        stop();
        for (int fd : std::as_const(m_sockets))
            ::close(fd);
    }
    DatagramFlood(const DatagramFlood&) = delete;
    DatagramFlood& operator=(const DatagramFlood&) = delete;

    bool isValid() const { return !m_sockets.isEmpty(); }
    void start()
    {
        m_running = true;
        m_thread = std::thread([this] { run(); });
    }
    void stop()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
    }
    bool running() const { return m_running; }
    quint64 sent() const { return m_sent; }

    // The resident memory of this process.
    static qint64 residentBytes()
    {
        QFile statm(QStringLiteral("/proc/self/statm"));
        if (!statm.open(QIODevice::ReadOnly))
            return 0;
        const QList<QByteArray> fields = statm.readAll().split(' ');
        return fields.size() > 1 ? fields.at(1).toLongLong() * qint64(::sysconf(_SC_PAGESIZE)) : 0;
    }

private:
    static sockaddr_in address(quint32 host, quint16 port)
    {
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(host);
        a.sin_port = htons(port);
        return a;
    }

    static QByteArray datagram(Kind kind, int i)
    {
        switch (kind) {
        case Empty:
            return {};
        case UnfinishedHeads: {
            QByteArray head = RequestHead::frame(quint64(i), ERequestType_Message, false, {});
            RequestHead announced = RequestHead::read(head.constData());
            announced.length = NetworkLimits::kMaxFrameLength;
            announced.write(head.data());
            return head + QByteArray(1000, 'h');
        }
        case UnfinishedMessages:
            return RequestHead::frame(quint64(i % 64 + 1), ERequestType_Message, false, QByteArray(1000, 'm'));
        case Replies:
            return DiscoveryDatagram::encode(
                QStringLiteral("serverConfig"),
                QJsonObject{{QStringLiteral("ip"), QStringLiteral("198.18.1.%1").arg(i)},
                            {QStringLiteral("port"), 5000 + i},
                            {QStringLiteral("productName"), QStringLiteral("Tavix")}});
        case Garbage: {
            QByteArray bytes(1000, Qt::Uninitialized);
            quint32 x = 2463534242u + quint32(i);
            for (char& c : bytes) {
                x ^= x << 13;
                x ^= x >> 17;
                x ^= x << 5;
                c = char(x);
            }
            return bytes;
        }
        }
        return {};
    }

    void run()
    {
        const sockaddr_in to = address(INADDR_LOOPBACK, m_port);
        const auto end = std::chrono::steady_clock::now() + m_limit;
        quint64 n = 0;
        while (!m_stop && n < m_maxDatagrams && std::chrono::steady_clock::now() < end) {
            for (int k = 0; k < 256 && n < m_maxDatagrams; ++k, ++n) {
                const QByteArray& d = m_datagrams.at(int(n % quint64(m_datagrams.size())));
                ::sendto(m_sockets.at(int(n % quint64(m_sockets.size()))), d.constData(), size_t(d.size()),
                         MSG_DONTWAIT, reinterpret_cast<const sockaddr*>(&to), sizeof to);
            }
            m_sent = n;
        }
        m_running = false;
    }

    quint16 m_port;
    std::chrono::milliseconds m_limit;
    quint64 m_maxDatagrams;
    QList<QByteArray> m_datagrams;
    QList<int> m_sockets;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_running{false};
    std::atomic<quint64> m_sent{0};
};
