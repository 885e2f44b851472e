#pragma once

#include <QHash>
#include <QList>
#include <QString>

// Which discovered media server the control link tries, given the replies the discovery filter
// accepted. A server whose connection attempt failed has its address skipped for kSkipMs, so a host
// announcing an address nobody holds does not take every attempt; the servers that answered within
// the last kRememberMs are remembered (at most kMaxRemembered, the oldest forgotten first), and
// after a failure the one that answered last and is not skipped is tried at once. The pinned
// address (the link address of the filter) is never skipped. Times are milliseconds of one
// monotonic clock, given by the caller.
// A value type owned by the terminal; GUI thread.
class ServerChoice
{
public:
    static constexpr int kSkipMs = 10000;
    static constexpr int kRememberMs = 4000;
    static constexpr int kMaxRemembered = 32;

    struct Server
    {
        QString ip;
        int port = 0;
    };

    // An accepted reply from ip:port at nowMs. True when it is to be tried now, false while ip is
    // skipped.
    bool offer(const QString& ip, int port, bool pinned, qint64 nowMs);
    // The attempt to ip:port failed at nowMs: skips ip unless pinned. Sets next to the server to try
    // now and answers true, or false when no other remembered server may be tried.
    bool failed(const QString& ip, int port, bool pinned, qint64 nowMs, Server* next);
    // The link to ip came up: ip is no longer skipped, and what answered before is forgotten.
    void linked(const QString& ip);
    // Forgets everything, as when the link address changes.
    void clear();

private:
    struct Heard
    {
        Server server;
        qint64 atMs = 0;
    };

    bool skipped(const QString& ip, qint64 nowMs);

    // Address -> end of its skip time.
    QHash<QString, qint64> m_skipUntil;
    // Servers that answered, oldest first; one entry per address and port.
    QList<Heard> m_heard;
};
