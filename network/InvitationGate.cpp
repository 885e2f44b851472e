#include "network/InvitationGate.h"

InvitationGate::InvitationGate(int declineQuietMs, int failureQuietMs)
    : m_declineQuietMs(declineQuietMs), m_failureQuietMs(failureQuietMs)
{
}

bool InvitationGate::admits(const QString& host, int port, const QString& sender, qint64 nowMs) const
{
    if (rests(m_declinedUntil, host, nowMs) || rests(m_failedUntil, endpoint(host, port), nowMs))
        return false;
    if (sender == host)
        return !rests(m_ownFailedUntil, host, nowMs);
    return !rests(m_declinedUntil, sender, nowMs) && !rests(m_restingUntil, sender, nowMs);
}

void InvitationGate::declined(const QString& host, qint64 nowMs)
{
    if (host.isEmpty())
        return;
    hold(m_declinedUntil, host, nowMs + m_declineQuietMs, nowMs);
}

void InvitationGate::withdrew(const QString& host, const QString& sender, qint64 nowMs)
{
    if (host.isEmpty())
        return;
    hold(m_declinedUntil, host, qMax(nowMs + m_failureQuietMs, m_declinedUntil.value(host, nowMs)), nowMs);
    if (!sender.isEmpty() && sender != host)
        hold(m_restingUntil, sender, qMax(nowMs + m_failureQuietMs, m_restingUntil.value(sender, nowMs)), nowMs);
}

void InvitationGate::failed(const QString& host, int port, const QString& sender, qint64 nowMs)
{
    hold(m_failedUntil, endpoint(host, port), nowMs + m_failureQuietMs, nowMs);
    if (sender.isEmpty())
        return;
    hold(m_restingUntil, sender, nowMs + m_failureQuietMs, nowMs);
    if (sender == host)
        hold(m_ownFailedUntil, host, nowMs + m_failureQuietMs, nowMs);
}

bool InvitationGate::rests(const QHash<QString, qint64>& until, const QString& key, qint64 nowMs)
{
    return until.value(key, nowMs) > nowMs;
}

void InvitationGate::hold(QHash<QString, qint64>& until, const QString& key, qint64 untilMs, qint64 nowMs)
{
    if (!until.contains(key) && until.size() >= kMaxEntries) {
        until.removeIf([nowMs](const QHash<QString, qint64>::iterator it) { return it.value() <= nowMs; });
        while (until.size() >= kMaxEntries) {
            auto soonest = until.begin();
            for (auto it = until.begin(); it != until.end(); ++it)
                if (it.value() < soonest.value())
                    soonest = it;
            until.erase(soonest);
        }
    }
    until.insert(key, untilMs);
}

QString InvitationGate::endpoint(const QString& host, int port)
{
    return host + QLatin1Char('#') + QString::number(port);
}
