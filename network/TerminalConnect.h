#pragma once

#include "network/DeliveryPacer.h"
#include "network/FramedClientWorker.h"

#include <QJsonObject>
#include <QVariantMap>

// Link worker of the control link, in a thread of its own: holds the TCP
// connection to the media server and, while it is up, its request manager.
// Commands handed over while no connection is up are dropped. One attempt at a time:
// a connect request while one is under way or a link is up starts nothing. An attempt
// that gets no answer is abandoned after kConnectTimeoutMs; every attempt that ends
// without a link, other than one ended by disconnectFromServer(), is reported with
// connectFailed.
//
// A link has answered once the server has sent a complete message or file after the panel's
// first command on it (the first reply to the requests the panel makes when the server says
// "connected"), or once the server asks for the password ("connectVerifyAsk") or refuses one
// ("passwordError"), when it waits for the user. A "connected" alone is no answer. A link that
// has not answered within its answer time of coming up (a server process that accepts and then
// hangs, stalls inside its first frame, or says "connected" and ignores every request) is closed,
// reported with socketDisconnect and then, with the address and port it was asked to connect to,
// with connectFailed. The answer time is kFirstAnswerTimeoutMs, doubled for an endpoint on each
// attempt after one given up that way, up to kMaxAnswerTimeoutMs (10, 20, 40 s), and back to the
// first once it answers: a hung server is given up soon, a slow one still gets in. At most
// kMaxSlowEndpoints endpoints are remembered so, the least recently given up forgotten first.
// Once a link has answered it runs with LinkKeepAlive's timers alone, so a server that vanished
// without closing it ends it within about 15 s, reported as any other end with socketDisconnect.
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
    static constexpr int kFirstAnswerTimeoutMs = 10000;
    static constexpr int kMaxAnswerTimeoutMs = 40000;
    static constexpr int kMaxSlowEndpoints = 32;
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
    // The attempt to sIp:nPort ended without a link (refused, unreachable, or no answer in time),
    // or its link was given up before the server answered. hostAnswered: the host at sIp
    // answered all the same (it refused the port, or accepted the link); false when it did not
    // (no route, time-out).
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
    // Gives up a link that has not answered; otherwise as the base.
    void linkTimeout() override;

private:
    // The link has answered: its answer time stops, and its endpoint's is the first again.
    void answered();
    // A complete message or file arrived; cmd names the message.
    void received(const QString& cmd);
    // The answer time of a link to the latest attempt's endpoint.
    int answerTimeoutMs() const;
    QString targetEndpoint() const;

    DeliveryPacer m_pacer{kMaxWaiting, kMaxWaitingBytes};
    // The address and port of the latest attempt started, as asked for.
    QString m_targetIp;
    int m_targetPort = 0;
    // The attempt under way was abandoned for want of an answer from its host.
    bool m_attemptAbandoned = false;
    // The link that is up: the panel has sent a command on it; it has answered.
    bool m_requested = false;
    bool m_answered = false;
    // Endpoints ("ip#port") whose latest links were given up unanswered, least recently given up
    // first, with how many times in a row.
    QList<QPair<QString, int>> m_slowEndpoints;
};
