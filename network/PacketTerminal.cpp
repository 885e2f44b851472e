#include "network/PacketTerminal.h"

#include "network/PacketTerminalConnect.h"
#include "network/PacketTerminalDetect.h"

PacketTerminal::PacketTerminal(QObject* parent) : IRCPacketTerminal(parent)
{
}

PacketTerminal::~PacketTerminal()
{
    stopServer();
}

void PacketTerminal::setInvitationPort(int port)
{
    m_invitationPort = port;
}

void PacketTerminal::startServer()
{
    const quint64 generation = m_generation;
    auto live = [this, generation] { return generation == m_generation; };
    if (!m_detect) {
        m_detect = new PacketTerminalDetect;
        m_detect->startDetect(m_invitationPort);
        connect(m_detect, &TerminalDetect::serverDetected, this,
                [this, live](const QString& sIp, int port, const QString&, const QString& sender) {
                    if (live())
                        onServerDetected(sIp, port, sender);
                });
    }
    if (!m_connect) {
        m_connect = new PacketTerminalConnect(PacketTerminalConnect::kSilenceTimeoutMs);
        m_connect->setReceiveDir(m_receiveDir);
        connect(m_connect, &PacketTerminalConnect::serverConnect, this, [this, live](const QString& sIp) {
            if (live())
                onServerConnect(sIp);
        });
        connect(m_connect, &PacketTerminalConnect::serverDisconnect, this, [this, live] {
            if (live())
                onServerDisconnect();
        });
        connect(m_connect, &PacketTerminalConnect::receiveDownloadInvitation, this,
                [this, live](const QString& sIp) {
                    if (live())
                        Q_EMIT receiveDownloadInvitation(sIp);
                });
        connect(m_connect, &PacketTerminalConnect::receiveBegin, this, [this, live] {
            if (live())
                on_receiveBegin();
        });
        connect(m_connect, &PacketTerminalConnect::receiveProcess, this, [this, live](double rate) {
            if (live())
                on_receiveProcess(rate);
        });
        connect(m_connect, &PacketTerminalConnect::receiveComplate, this, [this, live] {
            if (live())
                on_receiveComplate();
        });
        connect(m_connect, &PacketTerminalConnect::receiveFailed, this, [this, live](int fault) {
            if (live())
                Q_EMIT receiveFailed(fault);
        });
    }
}

void PacketTerminal::stopServer()
{
    ++m_generation;
    // Each worker closes its sockets and files in its own thread as it goes, which ends a link to
    // a designer and drops a reception under way.
    delete m_detect;
    m_detect = nullptr;
    delete m_connect;
    m_connect = nullptr;
}

QString PacketTerminal::getConnectIp() const
{
    return m_connect ? m_connect->serverAddress() : QString();
}

void PacketTerminal::stopReceive()
{
    if (m_connect)
        m_connect->disconnectFromServer();
}

void PacketTerminal::setReceiveDir(QString sDirPath)
{
    m_receiveDir = sDirPath;
    if (m_connect)
        m_connect->setReceiveDir(sDirPath);
}

void PacketTerminal::download()
{
    if (m_connect)
        m_connect->download();
}

void PacketTerminal::declineInvitation()
{
    if (m_connect)
        m_connect->declineInvitation();
}

void PacketTerminal::onServerDetected(QString sIp, int port, QString sSender)
{
    if (m_connect && port >= 1 && port <= 65535)
        m_connect->connectToServer(sIp, port, sSender);
}

void PacketTerminal::onServerConnect(QString sIp)
{
    Q_EMIT serverConnected(sIp);
}

void PacketTerminal::onServerDisconnect()
{
    Q_EMIT serverDisconnected();
}

void PacketTerminal::on_receiveBegin()
{
    Q_EMIT receiveBegin();
}

void PacketTerminal::on_receiveProcess(double rate)
{
    Q_EMIT receiveProcess(rate);
}

void PacketTerminal::on_receiveComplate()
{
    Q_EMIT receiveComplate();
}
