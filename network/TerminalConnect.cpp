#include "network/TerminalConnect.h"

#include "network/LinkKeepAlive.h"
#include "network/RequestManager.h"

#include <QTcpSocket>
#include <QTimer>

TerminalConnect::TerminalConnect()
{
    connect(this, &TerminalConnect::sig_disconnectFromServer, this,
            &TerminalConnect::on_sig_disconnectFromServer);
    connect(this, &TerminalConnect::sig_connectToServer, this, &TerminalConnect::on_sig_connectToServer);
    connect(this, &TerminalConnect::sig_sendCmd, this, &TerminalConnect::on_sig_sendCmd);
    connect(this, &TerminalConnect::sig_sendFile, this, &TerminalConnect::on_sig_sendFile);
    connect(this, &TerminalConnect::sig_resumeReading, this, &TerminalConnect::on_sig_resumeReading);
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

void TerminalConnect::on_sig_connectToServer(QString sIp, int nPort)
{
    connectLink(sIp, nPort, kConnectTimeoutMs);
}

void TerminalConnect::attemptFailed(const QString& ip, int port)
{
    // The socket's error is set before it reports the end of the attempt; an attempt abandoned
    // here has none of its own.
    const bool refused = !m_attemptAbandoned && socket()->error() == QAbstractSocket::ConnectionRefusedError;
    Q_EMIT connectFailed(ip, port, refused);
}

void TerminalConnect::deliveryTaken()
{
    if (m_pacer.take())
        Q_EMIT sig_resumeReading();
}

void TerminalConnect::on_sig_resumeReading()
{
    readIncoming();
}

bool TerminalConnect::mayRead() const
{
    return m_pacer.mayRead();
}

void TerminalConnect::attachManager(RequestManager* manager)
{
    // Each delivery is counted before it is queued for the receiver; an error report weighs as
    // little as a short command.
    connect(manager, &IRCRequestManager::cmdReceive, this,
            [this, manager](const QString& sCmd, const QJsonObject& params) {
                m_pacer.add(manager->deliveringSize());
                Q_EMIT receiveCmd(sCmd, params);
            });
    connect(manager, &IRCRequestManager::fileContentReceive, this,
            [this](const QByteArray& data, bool complate, const QVariantMap& params) {
                m_pacer.add(data.size());
                Q_EMIT fileContentReceive(data, complate, params);
            });
    connect(manager, &IRCRequestManager::fileReceiveError, this, [this](const QVariantMap& params) {
        m_pacer.add(1);
        Q_EMIT fileReceiveError(params);
    });
    connect(manager, &IRCRequestManager::fileContentSend, this, &TerminalConnect::fileContentSend);
    connect(manager, &IRCRequestManager::fileSendError, this, &TerminalConnect::fileSendError);
}

void TerminalConnect::linkUp(const QString& address)
{
    QString error;
    if (!LinkKeepAlive().applyTo(socket()->socketDescriptor(), &error))
        qWarning("Control link to %s: keep-alive not set (%s); a vanished server may go unnoticed",
                 qPrintable(address), qPrintable(error));
    socket()->setReadBufferSize(kReadBufferBytes);
    Q_EMIT socketConnected(address);
}

void TerminalConnect::linkTimeout()
{
    m_attemptAbandoned = true;
    FramedClientWorker::linkTimeout();
    m_attemptAbandoned = false;
}

void TerminalConnect::linkDown()
{
    Q_EMIT socketDisconnect();
}

void TerminalConnect::on_sig_disconnectFromServer()
{
    closeLink();
}

void TerminalConnect::on_sig_sendCmd(QString sCmd, QJsonObject params)
{
    if (!manager())
        return;
    manager()->sendCmd(sCmd, params, QVariant());
}

void TerminalConnect::on_sig_sendFile(QString sFilePath, QJsonObject params)
{
    if (!manager())
        return;
    manager()->sendFile(sFilePath, params);
}
