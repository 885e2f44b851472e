#pragma once

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

// Which discovered media server the control link tries, given the replies the discovery filter
// accepted. When an attempt fails, the endpoint tried (address and port) and the host whose reply
// named it (as the caller recorded it with the attempt) rest for kSkipMs, and so
// does the bare address when its host did not answer at all (no route, time-out): a refused port,
// or a server that accepted and then kept silent, says nothing against another port of the same
// address. A reply is tried only while neither the endpoint it names, nor its address, nor the
// host it came from rests, though a resting host's replies naming its own address are tried while
// that address does not rest. So a host announcing an address nobody holds, a new one in every
// reply, takes one attempt, not every attempt, and a stale announcer naming a dead port of a real
// server's address keeps nobody from that server. The
// servers that answered within the last kRememberMs are remembered (at most kMaxRemembered, the
// oldest forgotten first), and after a failure the one that answered last and may be tried is
// tried at once. The pinned address (the link address of the filter) never rests, nor does the
// host that named it. An endpoint whose unanswered link gave way to another server is set aside
// for kSkipMs, alone. An endpoint the user turned down is never tried again, pinned or not, until
// clear(). Addresses are texts as the replies name them, hosts as HostAddressText
// writes them. Times are milliseconds of one monotonic clock, given by the caller.
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
        // The host whose reply named it.
        QString sender;
    };

    // An accepted reply from host `sender` naming ip:port at nowMs. True when it is to be tried
    // now, false while ip:port, ip or sender rests.
    bool offer(const QString& ip, int port, const QString& sender, bool pinned, qint64 nowMs);
    // The attempt to ip:port, which host sender named, failed at nowMs; hostAnswered tells whether
    // the host at ip answered at all (it refused the port, or accepted the link). Unless pinned,
    // rests ip:port, ip too when its host did not answer, and sender. Sets next to the server to
    // try now and answers true, or false when no other remembered server may be tried.
    bool failed(const QString& ip, int port, const QString& sender, bool hostAnswered, bool pinned,
                qint64 nowMs, Server* next);
    // The link to ip answered: ip and its endpoints no longer rest, and what answered before is
    // forgotten.
    void linked(const QString& ip);
    // The unanswered link to ip:port gave way to another server: that endpoint alone rests.
    void setAside(const QString& ip, int port, qint64 nowMs);
    // The user turned the server at ip:port down: it is not tried again until clear().
    void refuse(const QString& ip, int port);
    // Forgets everything, as when the link address changes.
    void clear();

private:
    struct Heard
    {
        Server server;
        qint64 atMs = 0;
    };

    // Whether a reply from sender naming ip:port waits: ip:port or ip rests, or sender rests and
    // names another address than its own (a host that named a dead address may still hold a live
    // server).
    bool mayNotTry(const QString& ip, int port, const QString& sender, qint64 nowMs);
    bool rests(const QString& key, qint64 nowMs);
    void rest(const QString& key, qint64 nowMs);
    // The rest key of a host, apart from that of the same address named in a reply.
    static QString hostKey(const QString& host);
    static QString endpoint(const QString& ip, int port);

    // Address, endpoint() of an address and port, or hostKey() of a host -> end of its rest.
    QHash<QString, qint64> m_restUntil;
    // Servers that answered, oldest first; one entry per address and port.
    QList<Heard> m_heard;
    // Endpoints the user turned down.
    QSet<QString> m_refused;
};
