#include "network/FramedClientWorker.h"

#include "network/HostAddressText.h"
#include "network/RequestManager.h"

#include <QTcpSocket>
#include <QTimer>

QString FramedClientWorker::serverAddress() const
{
    QMutexLocker lock(&m_addressMutex);
    return m_serverAddress;
}

void FramedClientWorker::connectLink(const QString& sIp, int nPort, int timeoutMs)
{
    if (!m_socket) {
        m_socket = new QTcpSocket(this);
        connect(m_socket, &QTcpSocket::connected, this, &FramedClientWorker::onSocketConnected);
        connect(m_socket, &QTcpSocket::disconnected, this, &FramedClientWorker::onSocketDisconnected);
        connect(m_socket, &QTcpSocket::readyRead, this, &FramedClientWorker::onSocketReadyRead);
        connect(m_socket, &QTcpSocket::errorOccurred, this, [this] { linkError(); });
        m_timer = new QTimer(this);
        m_timer->setSingleShot(true);
        connect(m_timer, &QTimer::timeout, this, [this] { linkTimeout(); });
    }
    if (m_socket->state() != QAbstractSocket::UnconnectedState)
        return; // an attempt is under way, or a link is up
    if (nPort < 1 || nPort > 65535)
        return;
    m_socket->connectToHost(sIp, quint16(nPort), QIODevice::ReadWrite, QAbstractSocket::AnyIPProtocol);
    m_timer->start(timeoutMs);
}

void FramedClientWorker::closeLink()
{
    if (!m_socket)
        return;
    m_timer->stop();
    m_socket->close();
}

void FramedClientWorker::onSocketConnected()
{
    m_timer->stop();
    if (!m_manager) {
        m_manager = new RequestManager(this);
        connect(m_manager, &IRCRequestManager::buffSendRequest, this, &FramedClientWorker::onBuffSendRequest);
        attachManager(m_manager);
    }
    const QString address = HostAddressText::of(m_socket->peerAddress());
    {
        QMutexLocker lock(&m_addressMutex);
        m_serverAddress = address;
    }
    linkUp(address);
}

void FramedClientWorker::onSocketDisconnected()
{
    dropManager();
    m_timer->stop();
    linkDown();
}

void FramedClientWorker::dropManager()
{
    if (!m_manager)
        return;
    m_manager->disconnect(this);
    m_manager->deleteLater();
    m_manager = nullptr;
}

void FramedClientWorker::onSocketReadyRead()
{
    if (!m_manager)
        return;
    m_manager->appendData(m_socket->readAll());
    if (m_manager)
        dataDelivered();
}

void FramedClientWorker::onBuffSendRequest(const QByteArray& buff, const QVariant& conditions)
{
    Q_UNUSED(conditions);
    if (!m_socket || !m_socket->isValid())
        return;
    m_socket->write(buff);
    // Out now rather than on the next pass of this thread's event loop: a command then reaches
    // the peer one poll sooner. What the kernel does not take stays buffered as before.
    m_socket->flush();
}

void FramedClientWorker::linkTimeout()
{
    if (m_socket->state() != QAbstractSocket::ConnectedState)
        m_socket->abort();
}

void FramedClientWorker::releaseResources()
{
    delete m_manager;
    m_manager = nullptr;
    if (m_socket) {
        m_socket->disconnect(this);
        m_socket->abort();
        delete m_socket;
        m_socket = nullptr;
    }
    delete m_timer;
    m_timer = nullptr;
}
