#pragma once

#include "network/FramedClientWorker.h"

#include <QJsonObject>
#include <QVariantMap>

// Link worker of the control link, in a thread of its own: holds the TCP
// connection to the media server and, while it is up, its request manager.
// Commands handed over while no connection is up are dropped. An attempt that
// gets no answer is abandoned after kConnectTimeoutMs, so discovery can try again.
// Public operations only emit queued signals and may be called from any thread.
class TerminalConnect : public FramedClientWorker
{
    Q_OBJECT
public:
    static constexpr int kConnectTimeoutMs = 3000;

    TerminalConnect();
    ~TerminalConnect() override;

    void connectToServer(const QString& sIp, int nPort);
    void disconnectFromServer();
    void sendCmd(const QString& sCmd, const QJsonObject& params);
    void sendFile(const QString& sFilePath, const QJsonObject& params);

Q_SIGNALS:
    void socketConnected(QString sIp);
    void socketDisconnect();
    void receiveCmd(QString sCmd, QJsonObject params);
    void fileContentReceive(QByteArray data, bool complate, QVariantMap params);
    void fileReceiveError(QVariantMap params);
    void fileContentSend(qlonglong sendPos, bool complate, QString sFilePath, qulonglong sendUid);
    void fileSendError(QString sFilePath, qulonglong sendUid);

    // Private: each is connected to its on_ slot in the worker thread.
    void sig_disconnectFromServer();
    void sig_connectToServer(QString sIp, int nPort);
    void sig_sendCmd(QString sCmd, QJsonObject params);
    void sig_sendFile(QString sFilePath, QJsonObject params);

private Q_SLOTS:
    void on_sig_disconnectFromServer();
    void on_sig_connectToServer(QString sIp, int nPort);
    void on_sig_sendCmd(QString sCmd, QJsonObject params);
    void on_sig_sendFile(QString sFilePath, QJsonObject params);

protected:
    void attachManager(RequestManager* manager) override;
    void linkUp(const QString& address) override;
    void linkDown() override;
};
