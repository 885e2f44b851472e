#include "network/TerminalConnect.h"

#include "network/RequestManager.h"

#include <QHostAddress>
#include <QTcpSocket>
#include <QTimer>

TerminalConnect::TerminalConnect()
{
    connect(this, &TerminalConnect::sig_disconnectFromServer, this,
            &TerminalConnect::on_sig_disconnectFromServer);
    connect(this, &TerminalConnect::sig_connectToServer, this, &TerminalConnect::on_sig_connectToServer);
    connect(this, &TerminalConnect::sig_sendCmd, this, &TerminalConnect::on_sig_sendCmd);
    connect(this, &TerminalConnect::sig_sendFile, this, &TerminalConnect::on_sig_sendFile);
}

TerminalConnect::~TerminalConnect()
{
    shutdownThread();
}

void TerminalConnect::connectToServer(const QString& sIp, int nPort)
{
    Q_EMIT sig_connectToServer(sIp, nPort);
}

void TerminalConnect::disconnectFromServer()
{
    Q_EMIT sig_disconnectFromServer();
}

void TerminalConnect::sendCmd(const QString& sCmd, const QJsonObject& params)
{
    Q_EMIT sig_sendCmd(sCmd, params);
}

void TerminalConnect::sendFile(const QString& sFilePath, const QJsonObject& params)
{
    Q_EMIT sig_sendFile(sFilePath, params);
}

QString TerminalConnect::serverAddress() const
{
    QMutexLocker lock(&m_addressMutex);
    return m_serverAddress;
}

void TerminalConnect::on_sig_connectToServer(QString sIp, int nPort)
{
    if (!m_socket) {
        m_socket = new QTcpSocket(this);
        connect(m_socket, &QTcpSocket::connected, this, &TerminalConnect::onSocketConnected);
        connect(m_socket, &QTcpSocket::disconnected, this, &TerminalConnect::onSocketDisconnect);
        connect(m_socket, &QTcpSocket::readyRead, this, &TerminalConnect::onSocketReadyread);
        m_connectTimer = new QTimer(this);
        m_connectTimer->setSingleShot(true);
        connect(m_connectTimer, &QTimer::timeout, this, [this] {
            if (m_socket->state() != QAbstractSocket::ConnectedState)
                m_socket->abort();
        });
    }
    const auto state = m_socket->state();
    if (state != QAbstractSocket::UnconnectedState)
        return; // an attempt is under way, or a connection is up
    if (nPort < 1 || nPort > 65535)
        return;
    m_socket->connectToHost(sIp, quint16(nPort), QIODevice::ReadWrite, QAbstractSocket::AnyIPProtocol);
    m_connectTimer->start(kConnectTimeoutMs);
}

void TerminalConnect::onSocketConnected()
{
    m_connectTimer->stop();
    if (!m_manager) {
        m_manager = new RequestManager(this);
        connect(m_manager, &IRCRequestManager::cmdReceive, this, &TerminalConnect::onCmdReceive);
        connect(m_manager, &IRCRequestManager::buffSendRequest, this, &TerminalConnect::onBuffSendRequest);
        connect(m_manager, &IRCRequestManager::fileContentReceive, this,
                &TerminalConnect::fileContentReceive);
        connect(m_manager, &IRCRequestManager::fileReceiveError, this, &TerminalConnect::fileReceiveError);
        connect(m_manager, &IRCRequestManager::fileContentSend, this, &TerminalConnect::fileContentSend);
        connect(m_manager, &IRCRequestManager::fileSendError, this, &TerminalConnect::fileSendError);
    }
    bool ok = false;
    const QHostAddress peer = m_socket->peerAddress();
    const quint32 v4 = peer.toIPv4Address(&ok);
    const QString address = ok ? QHostAddress(v4).toString() : peer.toString();
    {
        QMutexLocker lock(&m_addressMutex);
        m_serverAddress = address;
    }
    Q_EMIT socketConnected(address);
}

void TerminalConnect::onSocketDisconnect()
{
    dropManager();
    Q_EMIT socketDisconnect();
}

void TerminalConnect::dropManager()
{
    if (!m_manager)
        return;
    // The socket may report the loss from inside a write that the manager started;
    // the manager goes once that call has returned.
    m_manager->disconnect(this);
    m_manager->deleteLater();
    m_manager = nullptr;
}

void TerminalConnect::onSocketReadyread()
{
    if (!m_manager)
        return;
    m_manager->appendData(m_socket->readAll());
}

void TerminalConnect::onCmdReceive(QString sCmd, QJsonObject params)
{
    Q_EMIT receiveCmd(sCmd, params);
}

void TerminalConnect::onBuffSendRequest(QByteArray buff, QVariant conditions)
{
    Q_UNUSED(conditions);
    if (m_socket && m_socket->isValid())
        m_socket->write(buff);
}

void TerminalConnect::on_sig_disconnectFromServer()
{
    if (!m_socket)
        return;
    m_connectTimer->stop();
    m_socket->close();
}

void TerminalConnect::on_sig_sendCmd(QString sCmd, QJsonObject params)
{
    if (m_manager)
        m_manager->sendCmd(sCmd, params, QVariant());
}

void TerminalConnect::on_sig_sendFile(QString sFilePath, QJsonObject params)
{
    if (m_manager)
        m_manager->sendFile(sFilePath, params);
}

void TerminalConnect::releaseResources()
{
    delete m_manager;
    m_manager = nullptr;
    if (m_socket) {
        m_socket->disconnect(this);
        m_socket->abort();
        delete m_socket;
        m_socket = nullptr;
    }
    delete m_connectTimer;
    m_connectTimer = nullptr;
}
