#pragma once

#include "network/DeliveryPacer.h"
#include "network/FramedClientWorker.h"

#include <QJsonObject>
#include <QVariantMap>

// Link worker of the control link, in a thread of its own: holds one TCP connection to a media
// server and, while it is up, its request manager. Commands handed over while no connection is up
// are dropped. One attempt at a time: a connect request while one is under way or a link is up
// starts nothing. An attempt that gets no answer is abandoned after kConnectTimeoutMs; every
// attempt that ends without a link, other than one ended by disconnectFromServer(), is reported
// with connectFailed. A link that is up is never given up for want of an answer: which of several
// links the panel keeps is the terminal's choice. A link runs with LinkKeepAlive's timers, so a
// server that vanished without closing it ends it within about 15 s, reported as any other end
// with socketDisconnect.
//
// What the server sends reaches the receiver of receiveCmd, fileContentReceive and
// fileReceiveError (the deliveries) in arrival order, none dropped; the receiver calls
// deliveryTaken() once it has handled each. While kMaxWaiting deliveries, or kMaxWaitingBytes of
// them, wait for that, the socket is not read: a server that sends faster than the receiver
// handles is held back by TCP instead of growing this process. The socket buffers at most
// kReadBufferBytes of its own.
// Public operations only emit queued signals and may be called from any thread.
class TerminalConnect : public FramedClientWorker
{
    Q_OBJECT
public:
    static constexpr int kConnectTimeoutMs = 2000;
    static constexpr int kMaxWaiting = 1024;
    static constexpr qint64 kMaxWaitingBytes = 8 * 1024 * 1024;
    static constexpr qint64 kReadBufferBytes = kReadChunk;

    TerminalConnect();
    ~TerminalConnect() override;

    void connectToServer(const QString& sIp, int nPort);
    void disconnectFromServer();
    void sendCmd(const QString& sCmd, const QJsonObject& params);
    void sendFile(const QString& sFilePath, const QJsonObject& params);
    // The oldest delivery has been handled. Any thread.
    void deliveryTaken();

Q_SIGNALS:
    void socketConnected(QString sIp);
    void socketDisconnect();
    void receiveCmd(QString sCmd, QJsonObject params);
    void fileContentReceive(QByteArray data, bool complate, QVariantMap params);
    void fileReceiveError(QVariantMap params);
    void fileContentSend(qlonglong sendPos, bool complate, QString sFilePath, qulonglong sendUid);
    void fileSendError(QString sFilePath, qulonglong sendUid);
    // The attempt to sIp:nPort ended without a link (refused, unreachable, or no answer in time).
    // hostAnswered: the host at sIp answered all the same (it refused the port); false when it
    // did not (no route, time-out).
    void connectFailed(QString sIp, int nPort, bool hostAnswered);

    // Private: each is connected to its on_ slot in the worker thread.
    void sig_disconnectFromServer();
    void sig_connectToServer(QString sIp, int nPort);
    void sig_sendCmd(QString sCmd, QJsonObject params);
    void sig_sendFile(QString sFilePath, QJsonObject params);
    void sig_resumeReading();

private Q_SLOTS:
    void on_sig_disconnectFromServer();
    void on_sig_connectToServer(QString sIp, int nPort);
    void on_sig_sendCmd(QString sCmd, QJsonObject params);
    void on_sig_sendFile(QString sFilePath, QJsonObject params);
    void on_sig_resumeReading();

protected:
    void attachManager(RequestManager* manager) override;
    void linkUp(const QString& address) override;
    void linkDown() override;
    bool mayRead() const override;
    void attemptFailed(const QString& ip, int port) override;
    void linkTimeout() override;

private:
    DeliveryPacer m_pacer{kMaxWaiting, kMaxWaitingBytes};
    // The attempt under way was abandoned for want of an answer from its host.
    bool m_attemptAbandoned = false;
};
