#include "network/PacketServer.h"

#include "network/HostAddressText.h"
#include "network/PacketServerTerminal.h"
#include "network/PacketServerTerminalDetectServer.h"
#include "network/PacketTerminalManagerServer.h"

#include <QDebug>
#include <QTimer>

PacketServer::PacketServer(QObject* parent) : IRCPacketServer(parent)
{
    connect(this, &PacketServer::sig_startServer, this, &PacketServer::on_sig_startServer,
            Qt::DirectConnection);
    connect(this, &PacketServer::sig_stopServer, this, &PacketServer::on_sig_stopServer,
            Qt::DirectConnection);
    connect(this, &PacketServer::sig_issue, this, &PacketServer::on_sig_issue, Qt::DirectConnection);
    connect(this, &PacketServer::sig_stopIssue, this, &PacketServer::on_sig_stopIssue, Qt::DirectConnection);
}

PacketServer::~PacketServer()
{
    delete m_detect;
    delete m_server;
}

void PacketServer::setPorts(int nDetectPort, int nTcpPort, int nInvitationPort)
{
    m_detectPort = nDetectPort;
    m_tcpPort = nTcpPort;
    m_invitationPort = nInvitationPort;
}

int PacketServer::serverPort() const
{
    return m_server ? int(m_server->serverPort()) : 0;
}

void PacketServer::startServer()
{
    Q_EMIT sig_startServer();
}

void PacketServer::stopServer()
{
    Q_EMIT sig_stopServer();
}

void PacketServer::issue(QString sIp, QString sFolderPath)
{
    m_lastIssueIp = sIp;
    Q_EMIT sig_issue(sIp, sFolderPath);
}

void PacketServer::stopIssue(QString sIp)
{
    Q_EMIT sig_stopIssue(sIp);
}

QString PacketServer::getOldIssuIp() const
{
    return m_lastIssueIp;
}

bool PacketServer::enableIssue(QString sIp)
{
    if (!m_server)
        return false;
    const PacketServerTerminal* terminal = m_server->terminalOf(HostAddressText::normalised(sIp));
    return terminal && !terminal->isIssuing();
}

void PacketServer::on_sig_startServer()
{
    if (!m_server) {
        m_server = new PacketTerminalManagerServer;
        if (!m_server->listen(QHostAddress::Any, quint16(m_tcpPort)))
            qWarning() << "PacketServer: cannot listen on TCP port" << m_tcpPort << m_server->errorString();
        connect(m_server, &PacketTerminalManagerServer::terminalAdded, this, &PacketServer::onTerminalAdded);
        connect(m_server, &PacketTerminalManagerServer::terminalRemoved, this, &PacketServer::connectBreak);
        connect(m_server, &PacketTerminalManagerServer::issueBegin, this, &PacketServer::issueBegin);
        connect(m_server, &PacketTerminalManagerServer::issueProcessing, this,
                &PacketServer::issueProcessing);
        connect(m_server, &PacketTerminalManagerServer::issueComplate, this, &PacketServer::issueComplate);
        connect(m_server, &PacketTerminalManagerServer::issueError, this, &PacketServer::issueError);
        connect(m_server, &PacketTerminalManagerServer::issueStop, this, &PacketServer::issueStop);
        // Each install's outcome goes to the log.
        connect(m_server, &PacketTerminalManagerServer::issueComplate, this,
                [](const QString& sIp) { qInfo() << "PacketServer: install on" << sIp << "complete"; });
        connect(m_server, &PacketTerminalManagerServer::issueError, this, [](const QString& sIp, const QString& path) {
            qInfo() << "PacketServer: install on" << sIp << "failed, cannot send" << path;
        });
        connect(m_server, &PacketTerminalManagerServer::issueStop, this,
                [](const QString& sIp) { qInfo() << "PacketServer: install on" << sIp << "stopped"; });
        connect(m_server, &PacketTerminalManagerServer::terminalRemoved, this,
                [](const QString& sIp) { qInfo() << "PacketServer: panel" << sIp << "closed the link"; });
    }
    if (!m_detect) {
        // Panels are told the port actually listened on.
        m_detect = new PacketServerTerminalDetectServer(serverPort() ? serverPort() : m_tcpPort);
        m_detect->startServer(m_detectPort);
    }
}

void PacketServer::on_sig_stopServer()
{
    // The worker closes its sockets in its own thread as it goes.
    delete m_detect;
    m_detect = nullptr;
    if (!m_server)
        return;
    // The terminals and their links go with the TCP server, from the event loop: a listener may
    // stop the server from inside a terminal's own call. From now on nothing of it reaches here.
    m_server->close();
    m_server->disconnect(this);
    m_server->deleteLater();
    m_server = nullptr;
}

void PacketServer::on_sig_issue(QString sIp, QString sFolderPath)
{
    if (!m_server)
        return;
    const QString ip = HostAddressText::normalised(sIp);
    if (ip.isEmpty()) {
        qWarning() << "PacketServer: install failed, not an address:" << sIp;
        Q_EMIT issueError(sIp, QString());
        return;
    }
    if (PacketServerTerminal::collectFiles(sFolderPath).isEmpty()) {
        qWarning() << "PacketServer: install on" << ip << "failed, nothing to send in" << sFolderPath;
        Q_EMIT issueError(ip, sFolderPath);
        return;
    }
    qInfo() << "PacketServer: installing" << sFolderPath << "on" << ip;
    if (PacketServerTerminal* terminal = m_server->terminalOf(ip)) {
        terminal->issue(sFolderPath);
        return;
    }
    m_pendingIssues.insert(ip, sFolderPath);
    invite(ip, sIp);
}

void PacketServer::invite(const QString& sIp, const QString& sGivenIp)
{
    Invitation& invitation = m_invitations[sIp];
    if (!invitation.timer) {
        invitation.timer = new QTimer(this);
        invitation.timer->setSingleShot(true);
        invitation.timer->setInterval(kInvitationTimeoutMs);
        connect(invitation.timer, &QTimer::timeout, this, [this, sIp] {
            qInfo() << "PacketServer: install on" << sIp << "failed, no panel answered within"
                    << kInvitationTimeoutMs << "ms";
            Q_EMIT connectTimeout(m_invitations.value(sIp).givenIp);
        });
    }
    // A running timer is not restarted: repeated issues do not extend the wait.
    if (!invitation.timer->isActive()) {
        invitation.givenIp = sGivenIp;
        invitation.timer->start();
    }
    m_detect->inviteConnect(sIp, m_invitationPort);
}

void PacketServer::onTerminalAdded(QString sIp)
{
    if (m_invitations.contains(sIp))
        delete m_invitations.take(sIp).timer;
    Q_EMIT connectSuccess(sIp);
    PacketServerTerminal* terminal = m_server ? m_server->terminalOf(sIp) : nullptr;
    if (terminal && m_pendingIssues.contains(sIp))
        terminal->issue(m_pendingIssues.take(sIp));
}

void PacketServer::on_sig_stopIssue(QString sIp)
{
    if (!m_server)
        return;
    const QString ip = HostAddressText::normalised(sIp);
    const QList<PacketServerTerminal*> terminals = m_server->terminals();
    for (PacketServerTerminal* terminal : terminals)
        if (!ip.isEmpty() && terminal->panelAddress() == ip)
            terminal->stopIssue();
}
