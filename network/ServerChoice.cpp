#include "network/ServerChoice.h"

bool ServerChoice::offer(const QString& ip, int port, const QString& sender, bool pinned, qint64 nowMs)
{
    if (m_refused.contains(endpoint(ip, port)) || (!pinned && mayNotTry(ip, port, sender, nowMs)))
        return false;
    for (qsizetype i = 0; i < m_heard.size(); ++i) {
        if (m_heard.at(i).server.ip == ip && m_heard.at(i).server.port == port) {
            m_heard.removeAt(i);
            break;
        }
    }
    if (m_heard.size() >= kMaxRemembered)
        m_heard.removeFirst();
    m_heard.append({{ip, port, sender}, nowMs});
    return true;
}

bool ServerChoice::failed(const QString& ip, int port, const QString& sender, bool hostAnswered, bool pinned,
                          qint64 nowMs, Server* next)
{
    if (!pinned) {
        // A hostile host can make the rest list grow by three entries per failed attempt at most;
        // what has run out is dropped here.
        for (auto it = m_restUntil.begin(); it != m_restUntil.end();)
            it = it.value() <= nowMs ? m_restUntil.erase(it) : std::next(it);
        rest(endpoint(ip, port), nowMs);
        if (!hostAnswered)
            rest(ip, nowMs);
        if (!sender.isEmpty())
            rest(hostKey(sender), nowMs);
    }
    for (qsizetype i = m_heard.size() - 1; i >= 0; --i) {
        const Heard& heard = m_heard.at(i);
        if (nowMs - heard.atMs > kRememberMs) {
            m_heard.remove(0, i + 1); // this one and everything older
            break;
        }
        if ((heard.server.ip == ip && heard.server.port == port) ||
            m_refused.contains(endpoint(heard.server.ip, heard.server.port)) ||
            mayNotTry(heard.server.ip, heard.server.port, heard.server.sender, nowMs))
            continue;
        *next = heard.server;
        return true;
    }
    return false;
}

void ServerChoice::linked(const QString& ip)
{
    const QString endpoints = endpoint(ip, 0).chopped(1);
    for (auto it = m_restUntil.begin(); it != m_restUntil.end();)
        it = it.key() == ip || it.key().startsWith(endpoints) ? m_restUntil.erase(it) : std::next(it);
    m_heard.clear();
}

void ServerChoice::setAside(const QString& ip, int port, qint64 nowMs)
{
    rest(endpoint(ip, port), nowMs);
}

void ServerChoice::refuse(const QString& ip, int port)
{
    m_refused.insert(endpoint(ip, port));
}

void ServerChoice::clear()
{
    m_restUntil.clear();
    m_heard.clear();
    m_refused.clear();
}

bool ServerChoice::mayNotTry(const QString& ip, int port, const QString& sender, qint64 nowMs)
{
    return rests(endpoint(ip, port), nowMs) || rests(ip, nowMs) ||
           (ip != sender && rests(hostKey(sender), nowMs));
}

bool ServerChoice::rests(const QString& key, qint64 nowMs)
{
    const auto it = m_restUntil.constFind(key);
    if (it == m_restUntil.constEnd())
        return false;
    if (it.value() > nowMs)
        return true;
    m_restUntil.erase(it);
    return false;
}

void ServerChoice::rest(const QString& key, qint64 nowMs)
{
    if (!key.isEmpty())
        m_restUntil.insert(key, nowMs + kSkipMs);
}

QString ServerChoice::hostKey(const QString& host)
{
    return QLatin1Char('@') + host;
}

QString ServerChoice::endpoint(const QString& ip, int port)
{
    return ip + QLatin1Char('#') + QString::number(port);
}
