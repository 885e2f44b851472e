#pragma once

#include "network/DeliveryPacer.h"
#include "network/NetworkWorker.h"

#include <QAbstractSocket>
#include <QJsonObject>
#include <QJsonValue>
#include <QMutex>
#include <QString>
#include <QUrl>

class QTimer;
class QWebSocket;

// The cloud client's connection to the relay: logs the device into a cloud project, keeps the link
// alive with a heartbeat and exchanges commands with the other devices of the project.
//
// Lives in a thread of its own (started by the constructor). The creator drives it only through
// the three sig_ signals, which run the on_sig_ slots queued in the worker thread; results come
// back through joinSuccess, joinError, exitSuccess and receiveCmd. The socket and the heartbeat
// timer are created in the worker thread on first use and released there when the worker is
// destroyed (from the creator's thread), after which the thread is quit and awaited.
//
// Frames in both directions are text messages holding one JSON object; ours are compact with
// sorted keys. Incoming messages above MaxIncomingMessageSize end the link (the socket refuses
// them before holding them) with joinError(networkErrorText()) and a logged reason.
//
// Relayed commands reach the receiver of receiveCmd in arrival order, none dropped; the receiver
// calls deliveryTaken() once it has handled each. While MaxWaiting commands, or MaxWaitingBytes of
// them, wait for that, the worker holds its thread until the receiver has caught up with half of
// them: its socket is not read meanwhile (it buffers at most ReadBufferBytes of its own), so a relay
// that sends faster than the receiver handles is held back by TCP instead of growing this process.
// A hold answers no request until it ends; it sends the heartbeat itself and ends at destruction.
//
// There is no reconnection: after a refused login, an error or a dropped link the device stays out
// until the next join request.
class TavixProjectCloudConnectWork : public NetworkWorker
{
    Q_OBJECT

public:
    static constexpr int DefaultHeartbeatInterval = 10000;
    static constexpr quint64 MaxIncomingMessageSize = 1024 * 1024;
    static constexpr int MaxWaiting = 1024;
    static constexpr qint64 MaxWaitingBytes = 8 * 1024 * 1024;
    // Room for one frame of the largest message and its header: the socket takes a frame in only
    // once all of it is buffered.
    static constexpr qint64 ReadBufferBytes = qint64(MaxIncomingMessageSize) + 64 * 1024;

    // The relay URL may be changed later with setRelayUrl.
    explicit TavixProjectCloudConnectWork(const QUrl& relayUrl);
    ~TavixProjectCloudConnectWork() override;

    // Whether the relay has accepted the login; any thread.
    bool isJoinProject();
    // Used the next time the link is opened; any thread.
    void setRelayUrl(const QUrl& url);
    QUrl relayUrl() const;
    // Heartbeat period in ms, used when the heartbeat next starts; any thread.
    void setHeartbeatInterval(int msec);
    // The oldest receiveCmd has been handled. Any thread.
    void deliveryTaken();

    // The error texts of joinError.
    static QString loginErrorText();
    static QString userExpiredText();
    static QString unknownErrorText();
    static QString networkErrorText();
    // Whether a joinError text says the relay refused the project id or verification code (as
    // opposed to an unknown answer or a failing network).
    static bool isLoginRefusal(const QString& error);

Q_SIGNALS:
    void sig_joinProject(QString projectUid, QString verificationCode);
    void sig_exitProject();
    void sig_sendCmd(QString cmdType, QJsonObject params, QString receiver);
    void joinSuccess(QString projectUid);
    void joinError(QString error);
    void exitSuccess();
    void receiveCmd(QString cmdType, QJsonValue cmdParams, QString sender);

public Q_SLOTS:
    void onTextMessageReceived(const QString& message);
    void on_sig_joinProject(const QString& projectUid, const QString& verificationCode);
    void on_sig_exitProject();
    void on_sig_sendCmd(const QString& cmdType, const QJsonObject& params, const QString& receiver);

private:
    void onConnected();
    void onDisconnected();
    void onError(QAbstractSocket::SocketError error);
    void sendPing();
    void sendLogin();
    void sendFrame(const QJsonObject& frame);
    void onLoginReply(const QJsonObject& frame);
    void onMessage(const QJsonObject& frame);
    void setJoined(bool joined);
    void holdWhileReceiverIsBehind();
    void releaseResources() override;

    // Worker thread only, except where noted.
    QWebSocket* m_socket = nullptr;
    bool m_joined = false; // guarded by m_mutex; read from any thread
    QString m_projectUid;
    QString m_verificationCode;
    QString m_ownId;
    QTimer* m_heartbeat = nullptr;
    mutable QMutex m_mutex;
    QUrl m_relayUrl;                                    // guarded by m_mutex
    int m_heartbeatInterval = DefaultHeartbeatInterval; // guarded by m_mutex
    DeliveryPacer m_pacer{MaxWaiting, MaxWaitingBytes}; // thread-safe
};
