#include "network/PacketTerminalConnect.h"

#include "network/HostAddressText.h"
#include "network/RequestManager.h"

#include <QDebug>
#include <QFileInfo>
#include <QTcpSocket>
#include <QTimer>

PacketTerminalConnect::PacketTerminalConnect(int silenceTimeoutMs) : m_silenceTimeoutMs(silenceTimeoutMs)
{
    connect(this, &PacketTerminalConnect::sig_disconnectFromServer, this,
            &PacketTerminalConnect::on_sig_disconnectFromServer);
    connect(this, &PacketTerminalConnect::sig_connectToServer, this,
            &PacketTerminalConnect::on_sig_connectToServer);
    connect(this, &PacketTerminalConnect::sig_setReceiveDir, this,
            &PacketTerminalConnect::on_sig_setReceiveDir);
    connect(this, &PacketTerminalConnect::sig_download, this, &PacketTerminalConnect::on_sig_download);
}

PacketTerminalConnect::~PacketTerminalConnect()
{
    shutdownThread();
}

QString PacketTerminalConnect::serverAddress() const
{
    QMutexLocker lock(&m_addressMutex);
    return m_serverAddress;
}

void PacketTerminalConnect::on_sig_connectToServer(QString sIp, int nPort)
{
    if (!m_socket) {
        m_socket = new QTcpSocket(this);
        connect(m_socket, &QTcpSocket::connected, this, &PacketTerminalConnect::onSocketConnected);
        connect(m_socket, &QTcpSocket::disconnected, this, &PacketTerminalConnect::onSocketDisconnect);
        connect(m_socket, &QTcpSocket::readyRead, this, &PacketTerminalConnect::onSocketReadyread);
        connect(m_socket, &QTcpSocket::errorOccurred, this, &PacketTerminalConnect::onSocketError);
        m_watchdog = new QTimer(this);
        m_watchdog->setSingleShot(true);
        connect(m_watchdog, &QTimer::timeout, this, &PacketTerminalConnect::onWatchdog);
    }
    // One designer at a time: the panel stays with the one it has.
    if (m_socket->state() != QAbstractSocket::UnconnectedState)
        return;
    if (nPort < 1 || nPort > 65535)
        return;
    m_socket->connectToHost(sIp, quint16(nPort), QIODevice::ReadWrite, QAbstractSocket::AnyIPProtocol);
    m_watchdog->start(kConnectTimeoutMs);
}

void PacketTerminalConnect::onSocketConnected()
{
    if (!m_manager) {
        m_manager = new RequestManager(this);
        connect(m_manager, &IRCRequestManager::cmdReceive, this, &PacketTerminalConnect::onCmdReceive);
        connect(m_manager, &IRCRequestManager::buffSendRequest, this,
                &PacketTerminalConnect::onBuffSendRequest);
        connect(m_manager, &IRCRequestManager::fileinfoReceive, this,
                &PacketTerminalConnect::on_fileinfoReceive);
        connect(m_manager, &IRCRequestManager::fileContentReceive, this,
                &PacketTerminalConnect::on_fileContentReceive);
        connect(m_manager, &IRCRequestManager::fileReceiveError, this,
                &PacketTerminalConnect::on_fileReceiveError);
    }
    // An offer belongs to its connection.
    m_downloadKey.clear();
    m_accepted = false;
    m_reception.abort();
    const QString address = HostAddressText::of(m_socket->peerAddress());
    {
        QMutexLocker lock(&m_addressMutex);
        m_serverAddress = address;
    }
    watchSilence();
    Q_EMIT serverConnect(address);
}

void PacketTerminalConnect::onSocketDisconnect()
{
    dropManager();
    m_watchdog->stop();
    m_accepted = false;
    m_reception.abort();
    Q_EMIT serverDisconnect();
}

void PacketTerminalConnect::dropManager()
{
    if (!m_manager)
        return;
    // The link may end from inside the manager's own delivery: it goes once that call returned,
    // and whatever it still holds reaches nobody.
    m_manager->disconnect(this);
    m_manager->deleteLater();
    m_manager = nullptr;
}

void PacketTerminalConnect::onSocketReadyread()
{
    if (!m_manager)
        return;
    m_manager->appendData(m_socket->readAll());
    if (m_manager)
        watchSilence();
}

void PacketTerminalConnect::onSocketError()
{
    qDebug() << "socket connect error:" << m_socket->error() << m_socket->errorString();
}

void PacketTerminalConnect::onBuffSendRequest(QByteArray buff, QVariant conditions)
{
    Q_UNUSED(conditions);
    if (m_socket && m_socket->isValid())
        m_socket->write(buff);
}

void PacketTerminalConnect::onCmdReceive(QString sCmd, QJsonObject params)
{
    if (sCmd == QLatin1String("downloadKey"))
        onDownloadKey(params);
    else if (sCmd == QLatin1String("issueBegin"))
        onIssueBegin(params);
    else if (sCmd == QLatin1String("issueComlate"))
        onIssueComplate();
}

void PacketTerminalConnect::onDownloadKey(const QJsonObject& params)
{
    const QString key = params.value(QStringLiteral("value")).toString();
    if (m_reception.isActive() || key.isEmpty() || !QFileInfo(m_receiveDir).isDir())
        return;
    m_downloadKey = key;
    m_accepted = false;
    Q_EMIT receiveDownloadInvitation(serverAddress());
}

void PacketTerminalConnect::onIssueBegin(const QJsonObject& params)
{
    if (!m_accepted || m_reception.isActive()) {
        refuse("a packet the user did not accept");
        return;
    }
    bool isNumber = false;
    const qint64 total = params.value(QStringLiteral("totalSize")).toString().toLongLong(&isNumber);
    if (!isNumber || !m_reception.begin(m_receiveDir, total)) {
        refuse("a packet that cannot be received");
        return;
    }
    m_accepted = false;
    Q_EMIT receiveBegin();
}

void PacketTerminalConnect::onIssueComplate()
{
    if (!m_reception.isActive())
        return;
    if (!m_reception.commit()) {
        refuse("an incomplete packet");
        return;
    }
    Q_EMIT receiveComplate();
}

void PacketTerminalConnect::on_fileinfoReceive(QVariantMap params)
{
    if (!m_reception.isActive())
        refuse("a file the user did not accept");
    else if (!m_reception.openFile(params))
        refuse("a file that cannot be received");
}

void PacketTerminalConnect::on_fileContentReceive(QByteArray data, bool complate, QVariantMap params)
{
    if (!m_reception.write(params, data, complate)) {
        refuse("file content that cannot be received");
        return;
    }
    Q_EMIT receiveProcess(m_reception.rate());
}

void PacketTerminalConnect::on_fileReceiveError(QVariantMap params)
{
    Q_UNUSED(params);
    if (m_reception.isActive())
        refuse("a broken file");
}

void PacketTerminalConnect::refuse(const char* reason)
{
    qWarning() << "Project download: link to" << serverAddress() << "closed on" << reason;
    m_reception.abort();
    m_accepted = false;
    // Nothing more of what the designer sent may reach this worker.
    dropManager();
    if (m_socket)
        m_socket->abort();
}

void PacketTerminalConnect::on_sig_download()
{
    if (m_reception.isActive() || m_downloadKey.isEmpty() || !m_manager)
        return;
    m_manager->sendCmd(QStringLiteral("download"), QJsonObject(), QVariant());
    // A key answers one offer: the designer takes one "download" per key.
    m_downloadKey.clear();
    m_accepted = true;
    watchSilence();
}

void PacketTerminalConnect::on_sig_setReceiveDir(QString sDirPath)
{
    m_receiveDir = sDirPath;
}

void PacketTerminalConnect::on_sig_disconnectFromServer()
{
    if (!m_socket)
        return;
    m_watchdog->stop();
    m_socket->close();
}

void PacketTerminalConnect::watchSilence()
{
    // An offer not yet answered: the user is being asked.
    if (!m_downloadKey.isEmpty())
        m_watchdog->stop();
    else
        m_watchdog->start(m_silenceTimeoutMs);
}

void PacketTerminalConnect::onWatchdog()
{
    if (m_socket->state() == QAbstractSocket::ConnectedState)
        refuse("silence");
    else
        m_socket->abort();
}

void PacketTerminalConnect::releaseResources()
{
    m_reception.abort();
    delete m_manager;
    m_manager = nullptr;
    if (m_socket) {
        m_socket->disconnect(this);
        m_socket->abort();
        delete m_socket;
        m_socket = nullptr;
    }
    delete m_watchdog;
    m_watchdog = nullptr;
}
