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
    if (connectLink(sIp, nPort, kConnectTimeoutMs)) {
        m_targetIp = sIp;
        m_targetPort = nPort;
    }
}

void TerminalConnect::attemptFailed(const QString& ip, int port)
{
    Q_EMIT connectFailed(ip, port);
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
                answered();
                m_pacer.add(manager->deliveringSize());
                Q_EMIT receiveCmd(sCmd, params);
            });
    connect(manager, &IRCRequestManager::fileContentReceive, this,
            [this](const QByteArray& data, bool complate, const QVariantMap& params) {
                if (complate)
                    answered();
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
    m_answered = false;
    linkTimer()->start(kFirstMessageTimeoutMs);
    Q_EMIT socketConnected(address);
}

void TerminalConnect::answered()
{
    if (m_answered)
        return;
    m_answered = true;
    linkTimer()->stop();
}

void TerminalConnect::linkTimeout()
{
    if (socket()->state() != QAbstractSocket::ConnectedState || m_answered) {
        FramedClientWorker::linkTimeout();
        return;
    }
    qWarning("Control link to %s: nothing heard from the server in %d s; given up",
             qPrintable(serverAddress()), kFirstMessageTimeoutMs / 1000);
    // Nothing it sent is wanted now; the end is reported first, then the failure.
    dropManager();
    socket()->abort();
    Q_EMIT connectFailed(m_targetIp, m_targetPort);
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
    if (manager())
        manager()->sendCmd(sCmd, params, QVariant());
}

void TerminalConnect::on_sig_sendFile(QString sFilePath, QJsonObject params)
{
    if (manager())
        manager()->sendFile(sFilePath, params);
}
