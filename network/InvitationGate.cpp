#include "network/InvitationGate.h"

InvitationGate::InvitationGate(int declineQuietMs, int failureQuietMs)
    : m_declineQuietMs(declineQuietMs), m_failureQuietMs(failureQuietMs)
{
}

bool InvitationGate::admits(const QString& host, int port, const QString& sender, qint64 nowMs) const
{
    return m_declinedUntil.value(host, nowMs) <= nowMs && m_declinedUntil.value(sender, nowMs) <= nowMs &&
           m_failedUntil.value(endpoint(host, port), nowMs) <= nowMs && m_restingUntil.value(sender, nowMs) <= nowMs;
}

void InvitationGate::declined(const QString& host, qint64 nowMs)
{
    if (host.isEmpty())
        return;
    hold(m_declinedUntil, host, nowMs + m_declineQuietMs, nowMs);
}

void InvitationGate::failed(const QString& host, int port, const QString& sender, qint64 nowMs)
{
    hold(m_failedUntil, endpoint(host, port), nowMs + m_failureQuietMs, nowMs);
    if (!sender.isEmpty())
        hold(m_restingUntil, sender, nowMs + m_failureQuietMs, nowMs);
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
