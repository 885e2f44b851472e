#include "network/PacketServerTerminalDetectServer.h"

#include "network/DatagramAssemblers.h"
#include "network/LocalAddresses.h"
#include "network/RequestManager.h"

#include <QUdpSocket>

PacketServerTerminalDetectServer::PacketServerTerminalDetectServer(int tcpPort) : m_tcpPort(tcpPort)
{
    connect(this, &PacketServerTerminalDetectServer::internalSig_startServer, this,
            &PacketServerTerminalDetectServer::on_internalSig_startServer);
    connect(this, &PacketServerTerminalDetectServer::internalSig_stopServer, this,
            &PacketServerTerminalDetectServer::on_internalSig_stopServer);
    connect(this, &PacketServerTerminalDetectServer::internalSig_inviteConnect, this,
            &PacketServerTerminalDetectServer::on_internalSig_inviteConnect);
}

PacketServerTerminalDetectServer::~PacketServerTerminalDetectServer()
{
    shutdownThread();
}

void PacketServerTerminalDetectServer::on_internalSig_startServer(int port)
{
    if (m_socket)
        return;
    m_port = port;
    if (!m_sendManager) {
        m_sendManager = new RequestManager(this);
        connect(m_sendManager, &IRCRequestManager::buffRadioRequest, this,
                &PacketServerTerminalDetectServer::onBuffRadioRequest);
        m_assemblers = new DatagramAssemblers(this);
        connect(m_assemblers, &DatagramAssemblers::cmdReceive, this,
                &PacketServerTerminalDetectServer::onRequestServerConfigCmd);
    }
    m_socket = new QUdpSocket(this);
    connect(m_socket, &QUdpSocket::readyRead, this, &PacketServerTerminalDetectServer::onReadyRead);
    m_socket->bind(QHostAddress::Any, quint16(port));
}

void PacketServerTerminalDetectServer::on_internalSig_stopServer()
{
    if (!m_socket)
        return;
    m_socket->close();
    delete m_socket;
    m_socket = nullptr;
}

void PacketServerTerminalDetectServer::on_internalSig_inviteConnect(QString sIp, int port)
{
    if (m_socket)
        replyServerConfig(sIp, port);
}

void PacketServerTerminalDetectServer::onReadyRead()
{
    if (m_socket)
        m_assemblers->readPending(m_socket);
}

void PacketServerTerminalDetectServer::onRequestServerConfigCmd(const QString& sSender, const QString& sCmd,
                                                                const QJsonObject& params)
{
    if (sCmd != QLatin1String("requestServerConfig"))
        return;
    QString ip = params.value(QStringLiteral("ip")).toString();
    if (ip.isEmpty())
        ip = sSender;
    replyServerConfig(ip, params.value(QStringLiteral("port")).toInt(0));
}

void PacketServerTerminalDetectServer::replyServerConfig(const QString& sIp, int port)
{
    const QHostAddress address(sIp);
    if (address.isNull() || port < 1 || port > 65535)
        return;
    const QStringList locals = LocalAddresses::localIPv4Addresses();
    const QJsonObject params{{QStringLiteral("ip"), locals.isEmpty() ? QString() : locals.first()},
                             {QStringLiteral("port"), m_tcpPort}};
    m_sendManager->sendRadioCmd(QStringLiteral("serverConfig"), params, address, port);
}

void PacketServerTerminalDetectServer::onBuffRadioRequest(QByteArray buff, QHostAddress address, int port)
{
    if (!m_sendSocket)
        m_sendSocket = new QUdpSocket(this);
    m_sendSocket->writeDatagram(buff, address, quint16(port));
}

void PacketServerTerminalDetectServer::releaseResources()
{
    on_internalSig_stopServer();
    delete m_sendManager;
    m_sendManager = nullptr;
    delete m_sendSocket;
    m_sendSocket = nullptr;
    delete m_assemblers;
    m_assemblers = nullptr;
}
