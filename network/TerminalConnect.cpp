#include "network/TerminalConnect.h"

#include "network/RequestManager.h"

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

void TerminalConnect::on_sig_connectToServer(QString sIp, int nPort)
{
    connectLink(sIp, nPort, kConnectTimeoutMs);
}

void TerminalConnect::attachManager(RequestManager* manager)
{
    connect(manager, &IRCRequestManager::cmdReceive, this, &TerminalConnect::receiveCmd);
    connect(manager, &IRCRequestManager::fileContentReceive, this, &TerminalConnect::fileContentReceive);
    connect(manager, &IRCRequestManager::fileReceiveError, this, &TerminalConnect::fileReceiveError);
    connect(manager, &IRCRequestManager::fileContentSend, this, &TerminalConnect::fileContentSend);
    connect(manager, &IRCRequestManager::fileSendError, this, &TerminalConnect::fileSendError);
}

void TerminalConnect::linkUp(const QString& address)
{
    Q_EMIT socketConnected(address);
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
