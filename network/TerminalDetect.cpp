#include "network/TerminalDetect.h"

#include "network/LocalAddresses.h"
#include "network/NetworkLimits.h"
#include "network/RequestManager.h"

#include <QNetworkDatagram>
#include <QUdpSocket>

namespace {
// Senders are keyed by their IPv4 form; one without it counts as 0.0.0.0.
QHostAddress senderKey(const QHostAddress& address)
{
    bool ok = false;
    const quint32 v4 = address.toIPv4Address(&ok);
    return ok ? QHostAddress(v4) : QHostAddress(QHostAddress::AnyIPv4);
}
} // namespace

TerminalDetect::TerminalDetect()
{
    connect(this, &TerminalDetect::detectStart, this, &TerminalDetect::onDetectStart);
    connect(this, &TerminalDetect::detectStop, this, &TerminalDetect::onDetectStop);
    connect(this, &TerminalDetect::connectRequest, this, &TerminalDetect::onConnectRequest);
}

TerminalDetect::~TerminalDetect()
{
    shutdownThread();
}

void TerminalDetect::startDetect(int port)
{
    Q_EMIT detectStart(port);
}

void TerminalDetect::stopDetect()
{
    Q_EMIT detectStop();
}

void TerminalDetect::requestConnect(int port)
{
    Q_EMIT connectRequest(port, QHostAddress(QHostAddress::Broadcast));
}

void TerminalDetect::requestConnect(int port, const QHostAddress& address)
{
    Q_EMIT connectRequest(port, address);
}

void TerminalDetect::onDetectStart(int port)
{
    if (m_socket)
        return;
    m_replyPort = port;
    m_sendManager = new RequestManager(this);
    connect(m_sendManager, &IRCRequestManager::buffRadioRequest, this, &TerminalDetect::onBuffRadioRequest);
    m_socket = new QUdpSocket(this);
    connect(m_socket, &QUdpSocket::readyRead, this, &TerminalDetect::onReadyread);
    m_socket->bind(QHostAddress::Any, quint16(port));
}

void TerminalDetect::onDetectStop()
{
    delete m_sendManager;
    m_sendManager = nullptr;
    if (m_socket) {
        m_socket->close();
        delete m_socket;
        m_socket = nullptr;
    }
}

void TerminalDetect::releaseResources()
{
    onDetectStop();
    qDeleteAll(m_receiveManagers);
    m_receiveManagers.clear();
    m_senderOrder.clear();
}

void TerminalDetect::onConnectRequest(int port, QHostAddress address)
{
    if (!m_sendManager)
        return;
    const QStringList locals = LocalAddresses::localIPv4Addresses();
    for (const QString& local : locals) {
        const QJsonObject params{{QStringLiteral("ip"), local}, {QStringLiteral("port"), m_replyPort}};
        m_sendManager->sendRadioCmd(QStringLiteral("requestServerConfig"), params, address, port);
    }
}

void TerminalDetect::onBuffRadioRequest(QByteArray buff, QHostAddress address, int port)
{
    QUdpSocket socket;
    socket.writeDatagram(buff, address, quint16(port));
}

void TerminalDetect::onReadyread()
{
    while (m_socket && m_socket->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = m_socket->receiveDatagram();
        const QHostAddress sender = senderKey(datagram.senderAddress());
        RequestManager* manager = m_receiveManagers.value(sender);
        if (!manager) {
            while (m_receiveManagers.size() >= NetworkLimits::kMaxDiscoverySenders &&
                   !m_senderOrder.isEmpty())
                delete m_receiveManagers.take(m_senderOrder.takeFirst());
            manager = new RequestManager(this);
            connect(manager, &IRCRequestManager::cmdReceive, this,
                    [this, sender](const QString& sCmd, const QJsonObject& params) {
                        onReply(sender, sCmd, params);
                    });
            connect(manager, &IRCRequestManager::receiveComplate, this,
                    [this, sender] { releaseSender(sender); });
            m_receiveManagers.insert(sender, manager);
            m_senderOrder.append(sender);
        }
        manager->appendData(datagram.data());
    }
}

void TerminalDetect::onReply(const QHostAddress& sender, const QString& sCmd, const QJsonObject& params)
{
    if (sCmd != QLatin1String("serverConfig"))
        return;
    QString ip = params.value(QStringLiteral("ip")).toString();
    if (ip.isEmpty())
        ip = sender.toString();
    const int port = params.value(QStringLiteral("port")).toInt(0);
    Q_EMIT serverDetected(ip, port, params.value(QStringLiteral("productName")).toString());
}

void TerminalDetect::releaseSender(const QHostAddress& sender)
{
    // Called as the last act of the manager's appendData: the manager goes once
    // that call has returned.
    RequestManager* manager = m_receiveManagers.take(sender);
    m_senderOrder.removeOne(sender);
    if (manager)
        manager->deleteLater();
}
