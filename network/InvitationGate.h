#pragma once

#include <QHash>
#include <QString>

// Which designers' invitations the panel follows (project distribution, panel side). A designer
// the user turned down is not followed for the decline quiet time, whatever port it names; an
// address and port whose connection attempt failed are not tried again for the failure quiet
// time. Designers are named by address text as HostAddressText writes it. Times are milliseconds
// of one monotonic clock, given by the caller. Holds at most kMaxEntries of each kind: expired
// ones go first, then the ones that would expire soonest.
// A value type used from one thread.
class InvitationGate
{
public:
    static constexpr int kMaxEntries = 256;

    InvitationGate(int declineQuietMs, int failureQuietMs);

    bool admits(const QString& host, int port, qint64 nowMs) const;
    void declined(const QString& host, qint64 nowMs);
    void failed(const QString& host, int port, qint64 nowMs);

private:
    static void hold(QHash<QString, qint64>& until, const QString& key, qint64 untilMs, qint64 nowMs);
    static QString endpoint(const QString& host, int port);

    int m_declineQuietMs;
    int m_failureQuietMs;
    QHash<QString, qint64> m_declinedUntil;
    QHash<QString, qint64> m_failedUntil;
};
