#include "network/FramedClientWorker.h"

#include "network/HostAddressText.h"
#include "network/RequestManager.h"

#include <QTcpSocket>
#include <QTimer>

#ifdef Q_OS_UNIX
#include <sys/socket.h>
#endif

QString FramedClientWorker::serverAddress() const
{
    QMutexLocker lock(&m_addressMutex);
    return m_serverAddress;
}

bool FramedClientWorker::connectLink(const QString& sIp, int nPort, int timeoutMs)
{
    if (!m_socket) {
        m_socket = new QTcpSocket(this);
        connect(m_socket, &QTcpSocket::connected, this, &FramedClientWorker::onSocketConnected);
        connect(m_socket, &QTcpSocket::disconnected, this, &FramedClientWorker::onSocketDisconnected);
        connect(m_socket, &QTcpSocket::readyRead, this, &FramedClientWorker::onSocketReadyRead);
        connect(m_socket, &QTcpSocket::stateChanged, this, &FramedClientWorker::onSocketStateChanged);
        m_timer = new QTimer(this);
        m_timer->setSingleShot(true);
        connect(m_timer, &QTimer::timeout, this, [this] { linkTimeout(); });
    }
    if (m_socket->state() != QAbstractSocket::UnconnectedState)
        return false; // an attempt is under way, or a link is up
    if (nPort < 1 || nPort > 65535)
        return false;
    m_attempt = Attempt{sIp, nPort};
    m_socket->connectToHost(sIp, quint16(nPort), QIODevice::ReadWrite, QAbstractSocket::AnyIPProtocol);
    // An attempt can fail inside connectToHost() without the state ever leaving UnconnectedState.
    if (m_socket->state() == QAbstractSocket::UnconnectedState)
        onSocketStateChanged(QAbstractSocket::UnconnectedState);
    else
        m_timer->start(timeoutMs);
    return true;
}

void FramedClientWorker::closeLink()
{
    if (!m_socket)
        return;
    m_timer->stop();
    // An attempt dropped here is no failure of the peer's.
    m_attempt.reset();
    // An attempt still under way is dropped at once: close() would let it connect first.
    const QAbstractSocket::SocketState state = m_socket->state();
    m_closingHere = true;
    if (state == QAbstractSocket::HostLookupState || state == QAbstractSocket::ConnectingState)
        m_socket->abort();
    else
        m_socket->close();
    m_closingHere = false;
}

void FramedClientWorker::onSocketStateChanged(QAbstractSocket::SocketState state)
{
    if (state != QAbstractSocket::UnconnectedState || !m_attempt)
        return;
    const Attempt failed = *m_attempt;
    m_attempt.reset();
    attemptFailed(failed.ip, failed.port);
}

void FramedClientWorker::onSocketConnected()
{
    m_timer->stop();
    m_attempt.reset();
    // Commands are small and each is wanted at the peer at once, not coalesced with the next.
    m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
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
    // What the peer sent before it closed still goes to the manager, in order, before the end is
    // reported, even while mayRead() holds reading back: it is at most one read buffer. A link
    // closed from here delivers nothing more.
    while (!m_closingHere && m_manager && m_socket->bytesAvailable() > 0)
        m_manager->appendData(m_socket->read(kReadChunk));
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
    readIncoming();
}

void FramedClientWorker::readIncoming()
{
    bool delivered = false;
    while (m_manager && m_socket && m_socket->bytesAvailable() > 0 && mayRead()) {
        m_manager->appendData(m_socket->read(kReadChunk));
        delivered = true;
    }
    if (delivered && m_manager)
        dataDelivered();
}

void FramedClientWorker::onBuffSendRequest(const QByteArray& buff, const QVariant& conditions)
{
    Q_UNUSED(conditions);
    if (!m_socket || !m_socket->isValid())
        return;
    qsizetype taken = 0;
#ifdef Q_OS_UNIX
    // With nothing queued before it, a frame goes straight to the kernel: the socket's write
    // notifier is then neither armed nor disarmed, each of which wakes this thread's event loop
    // once more. Whatever the kernel does not take (or a failure, which the socket then meets
    // and reports as usual) is queued behind, so frames keep their order.
    if (m_socket->bytesToWrite() == 0) {
        const ssize_t sent = ::send(int(m_socket->socketDescriptor()), buff.constData(), size_t(buff.size()),
                                    MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent > 0)
            taken = qsizetype(sent);
    }
#endif
    if (taken == buff.size())
        return;
    m_socket->write(buff.constData() + taken, buff.size() - taken);
    // Out now rather than on the next pass of this thread's event loop: a command then reaches
    // the peer one poll sooner. What the kernel does not take stays buffered.
    m_socket->flush();
}

void FramedClientWorker::linkTimeout()
{
    if (m_socket->state() != QAbstractSocket::ConnectedState)
        m_socket->abort();
}

void FramedClientWorker::releaseResources()
{
    m_attempt.reset();
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
