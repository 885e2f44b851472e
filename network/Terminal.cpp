#include "network/Terminal.h"

#include "network/TerminalDetect.h"
#include "network/TerminalLink.h"

#include <QTimer>

#include <algorithm>

Terminal* Terminal::create(const QStringList& names)
{
    return new Terminal(names);
}

Terminal::Terminal(const QStringList& names)
    : m_filter(names, QString()), m_probePort(TerminalDetect::kProbePort)
{
    m_clock.start();
}

Terminal::~Terminal()
{
    stopServer();
}

void Terminal::startServer(int nDetectPort)
{
    const quint64 generation = m_generation;
    if (!m_detect) {
        m_detect = new TerminalDetect;
        m_detect->setFilter(m_filter.productNames(), m_filter.linkIp());
        m_detect->startDetect(nDetectPort);
        connect(m_detect, &TerminalDetect::serverDetected, this,
                [this, generation](const QString& sIp, int port, const QString& name, const QString& sender) {
                    if (generation == m_generation)
                        onServerDetected(sIp, port, name, sender);
                });
    }
    m_started = true;
    setAutoConnect(true);
}

void Terminal::stopServer()
{
    setAutoConnect(false);
    ++m_generation;
    m_choice.clear();
    if (m_detect) {
        m_detect->stopDetect();
        delete m_detect;
        m_detect = nullptr;
    }
    m_started = false;
    m_followed = nullptr;
    const QList<TerminalLink*> links = m_links;
    m_links.clear();
    for (TerminalLink* link : links)
        link->end();
    m_lastAddress.clear();
    Q_EMIT socketDisconnected();
}

void Terminal::setAutoConnect(bool b)
{
    if (b == m_autoConnect)
        return;
    m_autoConnect = b;
    if (!b) {
        delete m_autoConnectTimer;
        m_autoConnectTimer = nullptr;
        return;
    }
    if (!m_autoConnectTimer) {
        m_autoConnectTimer = new QTimer(this);
        connect(m_autoConnectTimer, &QTimer::timeout, this, &Terminal::probe);
        m_autoConnectTimer->start(kProbeIntervalMs);
    }
}

void Terminal::probe()
{
    if (m_detect)
        m_detect->requestConnect(m_probePort, m_probeAddress);
}

void Terminal::setDiscoveryTarget(const QHostAddress& address, int port)
{
    m_probeAddress = address;
    m_probePort = port;
}

QString Terminal::getConnectIp() const
{
    return m_followed ? m_followed->address() : m_lastAddress;
}

void Terminal::resetLink(QString sIp)
{
    m_choice.clear();
    if (sIp != m_filter.linkIp()) {
        m_filter = DiscoveryFilter(m_filter.productNames(), sIp);
        if (m_detect)
            m_detect->setFilter(m_filter.productNames(), sIp);
    }
    // The followed link closes gracefully and reports its end as any other; the rest go now.
    const QList<TerminalLink*> links = m_links;
    for (TerminalLink* link : links) {
        if (link != m_followed)
            drop(link);
    }
    if (m_followed)
        m_followed->close();
}

QString Terminal::getEnableIp() const
{
    return m_filter.linkIp();
}

void Terminal::sendCmd(QString sCmd, QJsonObject value)
{
    if (!m_followed || m_followed->closedHere())
        return;
    if (m_recordingOpening && m_opening.size() < kMaxOpening)
        m_opening.append({sCmd, value});
    m_followed->sendCmd(sCmd, value);
}

void Terminal::sendFile(QString sFilePath, QJsonObject params)
{
    if (m_followed && !m_followed->closedHere())
        m_followed->sendFile(sFilePath, params);
}

void Terminal::refuseLink()
{
    if (!m_followed)
        return;
    qInfo("Control link to %s: the server was turned down; it is not linked again until its address is "
          "given",
          qPrintable(m_followed->address()));
    m_choice.refuse(m_followed->ip(), m_followed->port());
    const bool wasSettled = settled();
    drop(m_followed);
    if (wasSettled)
        setAutoConnect(m_started);
}

void Terminal::onServerDetected(QString sIp, int port, QString sProductName, QString sSender)
{
    if (!m_started || settled() || !m_filter.accepts(sIp, port, sProductName) || linkTo(sIp, port))
        return;
    if (!m_choice.offer(sIp, port, sSender, m_filter.pins(sIp), m_clock.elapsed()) ||
        attemptUnderWay(sSender))
        return;
    if (m_links.size() >= kMaxLinks) {
        // Every place holds a link that has not answered: the one waiting longest gives way. An
        // attempt under way ends by itself (it is given up after 2 s); while one holds a place,
        // nobody gives way, so hosts naming addresses where nobody answers cannot cut a server's
        // link before it could answer.
        if (std::any_of(m_links.cbegin(), m_links.cend(),
                        [](const TerminalLink* link) { return !link->isUp(); }))
            return;
        TerminalLink* longest = nullptr;
        for (TerminalLink* link : std::as_const(m_links)) {
            if (link->isUp() && !link->closedHere() && (!longest || link->upForMs() > longest->upForMs()))
                longest = link;
        }
        if (!longest)
            return;
        qInfo("Control link to %s: no answer yet; gives way to %s port %d", qPrintable(longest->address()),
              qPrintable(sIp), port);
        m_choice.setAside(longest->ip(), longest->port(), m_clock.elapsed());
        drop(longest);
    }
    open(sIp, port, sSender);
}

void Terminal::open(const QString& ip, int port, const QString& sender)
{
    auto* link = new TerminalLink(ip, port, sender, this);
    m_links.append(link);
    connect(link, &TerminalLink::up, this, [this, link] { onLinkUp(link); });
    connect(link, &TerminalLink::attemptFailed, this,
            [this, link](bool hostAnswered) { onAttemptFailed(link, hostAnswered); });
    connect(link, &TerminalLink::ended, this, [this, link] { onLinkEnded(link); });
    connect(link, &TerminalLink::greeted, this, [this, link] { onGreeted(link); });
    connect(link, &TerminalLink::answered, this, [this, link] { onAnswered(link); });
    connect(link, &TerminalLink::receiveCmd, this,
            [this, link](const QString& sCmd, const QJsonObject& params) { onDelivery(link, sCmd, params); });
    connect(link, &TerminalLink::fileContentReceive, this, &IRCTerminal::fileContentReceive);
    connect(link, &TerminalLink::fileReceiveError, this, &IRCTerminal::fileReceiveError);
    connect(link, &TerminalLink::fileContentSend, this, &IRCTerminal::fileContentSend);
    connect(link, &TerminalLink::fileSendError, this, &IRCTerminal::fileSendError);
    link->start();
}

void Terminal::onLinkUp(TerminalLink* link)
{
    if (!m_links.contains(link))
        return;
    if (!m_followed)
        follow(link);
}

void Terminal::onAttemptFailed(TerminalLink* link, bool hostAnswered)
{
    if (!m_links.contains(link))
        return;
    const QString ip = link->ip();
    const int port = link->port();
    const QString sender = link->sender();
    drop(link);
    ServerChoice::Server next;
    const bool another =
        m_choice.failed(ip, port, sender, hostAnswered, m_filter.pins(ip), m_clock.elapsed(), &next);
    logFailure(ip, port);
    tryNext(another, next);
}

void Terminal::onLinkEnded(TerminalLink* link)
{
    if (!m_links.contains(link))
        return;
    // A link that ends rests nothing: a server that restarts is linked again at its next answer.
    const bool wasSettled = settled() && link == m_followed;
    drop(link);
    if (wasSettled)
        setAutoConnect(m_started);
}

void Terminal::onGreeted(TerminalLink* link)
{
    if (!m_links.contains(link) || link == m_followed)
        return;
    if (!m_followed || !m_followed->hasGreeted()) {
        // The followed server has not even greeted: this one has come further.
        follow(link);
        return;
    }
    if (m_openingKnown && !link->wasAsked()) {
        for (const auto& request : std::as_const(m_opening))
            link->sendCmd(request.first, request.second);
    }
}

void Terminal::onAnswered(TerminalLink* link)
{
    if (!m_links.contains(link))
        return;
    const QList<TerminalLink*> others = m_links;
    for (TerminalLink* other : others) {
        if (other != link && other != m_followed)
            drop(other);
    }
    m_choice.linked(link->ip());
    setAutoConnect(false);
    if (link != m_followed) {
        qInfo("Control link: %s answered first and is linked", qPrintable(link->address()));
        follow(link);
    }
}

void Terminal::onDelivery(TerminalLink* link, const QString& sCmd, const QJsonObject& params)
{
    if (link != m_followed)
        return;
    if (sCmd != QLatin1String("connected")) {
        Q_EMIT receiveCmd(sCmd, params);
        return;
    }
    m_opening.clear();
    m_recordingOpening = true;
    Q_EMIT receiveCmd(sCmd, params);
    m_recordingOpening = false;
    m_openingKnown = true;
    // Links that greeted before the opening was known are asked now.
    for (TerminalLink* other : std::as_const(m_links)) {
        if (other != m_followed && other->hasGreeted() && !other->wasAsked()) {
            for (const auto& request : std::as_const(m_opening))
                other->sendCmd(request.first, request.second);
        }
    }
}

void Terminal::follow(TerminalLink* link)
{
    if (link == m_followed)
        return;
    if (TerminalLink* before = m_followed) {
        m_followed = nullptr;
        before->setFollowed(false);
        // Only a link that has answered ends the race; one replaced before that stays in play.
        if (before->hasAnswered() || (link && link->hasAnswered()))
            drop(before);
        Q_EMIT socketDisconnected();
    }
    m_opening.clear();
    m_openingKnown = false;
    if (!link)
        return;
    m_followed = link;
    m_lastAddress = link->address();
    Q_EMIT socketConnected(link->address());
    if (m_followed == link)
        link->setFollowed(true);
}

void Terminal::drop(TerminalLink* link)
{
    if (!m_links.removeOne(link))
        return;
    const bool followed = link == m_followed;
    if (followed)
        m_followed = nullptr;
    link->end();
    if (followed) {
        Q_EMIT socketDisconnected();
        m_opening.clear();
        m_openingKnown = false;
        if (TerminalLink* next = successor())
            follow(next);
    }
}

TerminalLink* Terminal::successor() const
{
    TerminalLink* best = nullptr;
    for (TerminalLink* link : m_links) {
        if (!link->isUp() || link->closedHere())
            continue;
        if (!best || std::make_pair(link->hasGreeted(), link->upForMs()) >
                         std::make_pair(best->hasGreeted(), best->upForMs()))
            best = link;
    }
    return best;
}

TerminalLink* Terminal::linkTo(const QString& ip, int port) const
{
    for (TerminalLink* link : m_links) {
        if (link->ip() == ip && link->port() == port)
            return link;
    }
    return nullptr;
}

bool Terminal::attemptUnderWay(const QString& sender) const
{
    return std::any_of(m_links.cbegin(), m_links.cend(),
                       [&](const TerminalLink* link) { return !link->isUp() && link->sender() == sender; });
}

bool Terminal::settled() const
{
    return m_followed && m_followed->hasAnswered();
}

void Terminal::tryNext(bool another, const ServerChoice::Server& next)
{
    if (another && m_started && !settled() && m_links.size() < kMaxLinks && !linkTo(next.ip, next.port) &&
        !attemptUnderWay(next.sender))
        open(next.ip, next.port, next.sender);
}

void Terminal::logFailure(const QString& ip, int port)
{
    // At most one line per probe period, however many hosts announce what nobody serves.
    const qint64 now = m_clock.elapsed();
    if (m_lastFailureLogMs < 0 || now - m_lastFailureLogMs >= kProbeIntervalMs) {
        m_lastFailureLogMs = now;
        qInfo("Control link: no connection to %s port %d", qPrintable(ip), port);
    }
}
