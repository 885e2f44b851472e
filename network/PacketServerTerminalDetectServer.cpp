#include "network/PacketServerTerminalDetectServer.h"

#include "network/DiscoveryDatagram.h"
#include "network/HostAddressText.h"
#include "network/LocalAddresses.h"

#include <QUdpSocket>

namespace {
// Datagrams read per readiness notification before the worker gives its event loop a turn.
constexpr int kDatagramsPerTurn = 64;
} // namespace

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
    m_datagram.resize(DiscoveryDatagram::kMaxSize + 1);
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
    QHostAddress sender;
    for (int i = 0; i < kDatagramsPerTurn && m_socket && m_socket->hasPendingDatagrams(); ++i) {
        const qint64 size = m_socket->readDatagram(m_datagram.data(), m_datagram.size(), &sender);
        QString sCmd;
        QJsonObject params;
        if (size >= 0 && DiscoveryDatagram::decode(m_datagram.constData(), size, sCmd, params))
            onRequestServerConfigCmd(sender, sCmd, params);
    }
}

void PacketServerTerminalDetectServer::onRequestServerConfigCmd(const QHostAddress& sender,
                                                                const QString& sCmd,
                                                                const QJsonObject& params)
{
    if (sCmd != QLatin1String("requestServerConfig"))
        return;
    QString ip = params.value(QStringLiteral("ip")).toString();
    if (ip.isEmpty())
        ip = HostAddressText::of(sender);
    replyServerConfig(ip, params.value(QStringLiteral("port")).toInt(0));
}

void PacketServerTerminalDetectServer::replyServerConfig(const QString& sIp, int port)
{
    const QHostAddress address(sIp);
    if (address.isNull() || port < 1 || port > 65535)
        return;
    const QStringList locals = LocalAddresses::localIPv4Addresses();
    const QByteArray datagram = DiscoveryDatagram::encode(
        QStringLiteral("serverConfig"),
        QJsonObject{{QStringLiteral("ip"), locals.value(0)}, {QStringLiteral("port"), m_tcpPort}});
    if (!m_sendSocket)
        m_sendSocket = new QUdpSocket(this);
    m_sendSocket->writeDatagram(datagram, address, quint16(port));
}

void PacketServerTerminalDetectServer::releaseResources()
{
    on_internalSig_stopServer();
    delete m_sendSocket;
    m_sendSocket = nullptr;
}
