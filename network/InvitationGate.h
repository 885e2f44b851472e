#pragma once

#include <QHash>
#include <QString>

// Which designers' invitations the panel follows (project distribution, panel side). A designer
// the user turned down, or whose link ended on silence, is not followed for the decline quiet
// time, whatever port it names and whichever host sends its invitations, nor are invitations that
// host sends. An address and port whose connection attempt failed are not tried again for the
// failure quiet time, and the host whose invitation named them rests as long: none of its
// invitations is followed, whatever address they name. Designers and hosts are named by address
// text as HostAddressText writes it. Times are milliseconds of one monotonic clock, given by the
// caller. Holds at most kMaxEntries of each kind: expired ones go first, then the ones that would
// expire soonest.
// A value type used from one thread.
class InvitationGate
{
public:
    static constexpr int kMaxEntries = 256;

    InvitationGate(int declineQuietMs, int failureQuietMs);

    // Whether an invitation from host `sender` naming host:port is followed.
    bool admits(const QString& host, int port, const QString& sender, qint64 nowMs) const;
    void declined(const QString& host, qint64 nowMs);
    // The attempt to host:port, named by an invitation from `sender`, failed.
    void failed(const QString& host, int port, const QString& sender, qint64 nowMs);

private:
    static void hold(QHash<QString, qint64>& until, const QString& key, qint64 untilMs, qint64 nowMs);
    static QString endpoint(const QString& host, int port);

    int m_declineQuietMs;
    int m_failureQuietMs;
    QHash<QString, qint64> m_declinedUntil;
    QHash<QString, qint64> m_failedUntil;
    // Hosts whose invitation named an address that failed.
    QHash<QString, qint64> m_restingUntil;
};
