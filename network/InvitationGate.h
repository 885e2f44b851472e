#pragma once

#include <QHash>
#include <QString>

// Which designers' invitations the panel follows (project distribution, panel side). A designer
// the user turned down, or whose link ended on silence, is not followed for the decline quiet
// time; one that withdrew its offer before the user answered rests for the failure quiet time, as
// after a failed attempt. A resting designer is not followed whatever port it names and whichever host sends its
// invitations, nor are invitations it sends naming others. An address and port whose connection
// attempt failed are not tried again for the failure quiet time, and the host whose invitation
// named them rests as long: none of its invitations naming another address is followed. A host's
// invitations naming the host itself pass that rest unless an attempt to its own address failed,
// so a host whose address was named by forged invitations still reaches the panel. Designers and
// hosts are named by address text as HostAddressText writes it. Times are milliseconds of one
// monotonic clock, given by the caller. Holds at most kMaxEntries of each kind: expired ones go
// first, then the ones that would expire soonest.
// A value type used from one thread.
class InvitationGate
{
public:
    static constexpr int kMaxEntries = 256;

    InvitationGate(int declineQuietMs, int failureQuietMs);

    // Whether an invitation from host `sender` naming host:port is followed.
    bool admits(const QString& host, int port, const QString& sender, qint64 nowMs) const;
    void declined(const QString& host, qint64 nowMs);
    // The designer at host, named by an invitation from `sender`, withdrew an offer the user had
    // not answered: both rest as after a failed attempt. Never shortens a rest.
    void withdrew(const QString& host, const QString& sender, qint64 nowMs);
    // The attempt to host:port, named by an invitation from `sender`, failed.
    void failed(const QString& host, int port, const QString& sender, qint64 nowMs);

private:
    static bool rests(const QHash<QString, qint64>& until, const QString& key, qint64 nowMs);
    static void hold(QHash<QString, qint64>& until, const QString& key, qint64 untilMs, qint64 nowMs);
    static QString endpoint(const QString& host, int port);

    int m_declineQuietMs;
    int m_failureQuietMs;
    // Designers that rest on every port: turned down, silent, or withdrew an offer.
    QHash<QString, qint64> m_declinedUntil;
    QHash<QString, qint64> m_failedUntil;
    // Hosts whose invitation named an address that failed.
    QHash<QString, qint64> m_restingUntil;
    // Hosts whose invitation named their own address, which failed.
    QHash<QString, qint64> m_ownFailedUntil;
};
