#include "network/ServerChoice.h"

bool ServerChoice::offer(const QString& ip, int port, bool pinned, qint64 nowMs)
{
    if (!pinned && skipped(ip, nowMs))
        return false;
    for (qsizetype i = 0; i < m_heard.size(); ++i) {
        if (m_heard.at(i).server.ip == ip && m_heard.at(i).server.port == port) {
            m_heard.removeAt(i);
            break;
        }
    }
    if (m_heard.size() >= kMaxRemembered)
        m_heard.removeFirst();
    m_heard.append({{ip, port}, nowMs});
    return true;
}

bool ServerChoice::failed(const QString& ip, int port, bool pinned, qint64 nowMs, Server* next)
{
    if (!pinned) {
        // A hostile host can make the skip list grow by one address per failed attempt at most;
        // what has run out is dropped here.
        for (auto it = m_skipUntil.begin(); it != m_skipUntil.end();)
            it = it.value() <= nowMs ? m_skipUntil.erase(it) : std::next(it);
        m_skipUntil.insert(ip, nowMs + kSkipMs);
    }
    for (qsizetype i = m_heard.size() - 1; i >= 0; --i) {
        const Heard& heard = m_heard.at(i);
        if (nowMs - heard.atMs > kRememberMs) {
            m_heard.remove(0, i + 1); // this one and everything older
            break;
        }
        if ((heard.server.ip == ip && heard.server.port == port) || skipped(heard.server.ip, nowMs))
            continue;
        *next = heard.server;
        return true;
    }
    return false;
}

void ServerChoice::linked(const QString& ip)
{
    m_skipUntil.remove(ip);
    m_heard.clear();
}

void ServerChoice::clear()
{
    m_skipUntil.clear();
    m_heard.clear();
}

bool ServerChoice::skipped(const QString& ip, qint64 nowMs)
{
    const auto it = m_skipUntil.constFind(ip);
    if (it == m_skipUntil.constEnd())
        return false;
    if (it.value() > nowMs)
        return true;
    m_skipUntil.erase(it);
    return false;
}
