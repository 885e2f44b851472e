#pragma once

#include "network/DiscoveryDatagram.h"

#include <QFile>
#include <QList>
#include <QRandomGenerator>

#include <arpa/inet.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

// A hostile LAN host: a thread that sends datagrams of one kind as fast as it can to
// 127.0.0.1:port from 64 loopback addresses (127.0.0.2 and up). Bounded: it ends after
// `limit` or on stop(). Use it only inside a private network namespace.
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

    DatagramFlood(Kind kind, quint16 port, std::chrono::milliseconds limit = std::chrono::seconds(3))
        : m_to(address(INADDR_LOOPBACK, port)), m_limit(limit)
    {
        for (int i = 0; i < 256; ++i)
            m_datagrams << datagram(kind, i);
        for (quint32 i = 0; i < 64; ++i) {
            const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
            const sockaddr_in from = address(0x7f000002 + i, 0);
            if (::bind(fd, reinterpret_cast<const sockaddr*>(&from), sizeof from) == 0)
                m_sockets << fd;
            else
                ::close(fd);
        }
    }
    ~DatagramFlood()
    {
        stop();
        for (int fd : std::as_const(m_sockets))
            ::close(fd);
    }

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
        return statm.readAll().split(' ').value(1).toLongLong() * qint64(::sysconf(_SC_PAGESIZE));
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
            RequestHead head;
            head.length = NetworkLimits::kMaxFrameLength;
            QByteArray bytes(RequestHead::Size + 1000, 'h');
            head.write(bytes.data());
            return bytes;
        }
        case UnfinishedMessages: // sender i % 64 always sends uid i % 64 + 1
            return RequestHead::frame(quint64(i % 64 + 1), ERequestType_Message, false,
                                      QByteArray(1000, 'm'));
        case Replies:
            return DiscoveryDatagram::encode(
                QStringLiteral("serverConfig"),
                QJsonObject{{QStringLiteral("ip"), QStringLiteral("198.18.1.%1").arg(i)},
                            {QStringLiteral("port"), 5000 + i},
                            {QStringLiteral("productName"), QStringLiteral("Tavix")}});
        case Garbage: {
            QList<quint32> words(250);
            QRandomGenerator(quint32(i)).fillRange(words.data(), words.size());
            return QByteArray(reinterpret_cast<const char*>(words.constData()), 1000);
        }
        }
        return {};
    }

    void run()
    {
        const auto end = std::chrono::steady_clock::now() + m_limit;
        quint64 n = 0;
        while (!m_stop && std::chrono::steady_clock::now() < end) {
            for (int k = 0; k < 256; ++k, ++n) {
                const QByteArray& d = m_datagrams.at(int(n % 256));
                ::sendto(m_sockets.at(int(n % quint64(m_sockets.size()))), d.constData(), size_t(d.size()),
                         MSG_DONTWAIT, reinterpret_cast<const sockaddr*>(&m_to), sizeof m_to);
            }
            m_sent = n;
        }
        m_running = false;
    }

    const sockaddr_in m_to;
    const std::chrono::milliseconds m_limit;
    QList<QByteArray> m_datagrams;
    QList<int> m_sockets;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_running{false};
    std::atomic<quint64> m_sent{0};
};
