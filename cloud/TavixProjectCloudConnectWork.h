#pragma once

#include "network/DeliveryPacer.h"
#include "network/NetworkWorker.h"

#include <QAbstractSocket>
#include <QElapsedTimer>
#include <QJsonObject>
#include <QJsonValue>
#include <QMutex>
#include <QString>
#include <QUrl>
#include <QWaitCondition>

#include <atomic>
#include <deque>

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
// calls deliveryTaken() once it has handled each. Frames of ours are bounded too, from the moment
// the client hands them over (sig_sendCmd; the answers to requests among them) until the socket has
// passed them to the system. The worker stops reading while MaxWaiting commands (or MaxWaitingBytes
// of them) wait for the receiver, or more than MaxUnsentFrames frames of ours (or MaxUnsentBytes)
// wait to be written, and reads on once both have fallen to half: a relay that sends faster than
// the receiver handles, or floods requests faster than it takes the answers, is held back by TCP
// instead of growing this process. Meanwhile the socket buffers at most ReadBufferBytes of its own.
//
// A stop holds the worker thread: the socket reads only while the thread runs its event loop, and
// hands over every message it holds at once. The hold goes on writing (it runs the commands the
// client hands over, and nothing else of the thread's queue), sends the heartbeat, and ends at
// destruction or when the link ends; other requests wait until it ends.
//
// The link's TCP socket runs with keep-alive and a bound on unacknowledged data (LinkKeepAlive's
// defaults): a relay whose host went away without closing the link is noticed within about 15 s,
// or 15 s after the next heartbeat went out unanswered (25 s at most with the default heartbeat),
// and the link ends as on any network failure (joinError(networkErrorText()), then exitSuccess).
//
// A join request that has no answer to its login LoginTimeoutMs after it opened the link (or sent
// the login over the open one) ends the link with joinError(networkErrorText()): a relay that
// accepts the connection but never completes the handshake, or never answers the login, is
// reported instead of leaving the user waiting in silence.
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
    static constexpr int MaxUnsentFrames = 256;
    static constexpr qint64 MaxUnsentBytes = 1024 * 1024;
    // How often a hold that waits for the system to take our bytes tries to write again.
    static constexpr int HoldPollMs = 5;
    static constexpr int HoldLogMs = 10000;
    static constexpr int LoginTimeoutMs = 15000;

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
    void startLoginDeadline();
    void stopLoginDeadline();
    void onLoginTimeout();
    void sendFrame(const QJsonObject& frame);
    void onLoginReply(const QJsonObject& frame);
    void onMessage(const QJsonObject& frame);
    void setJoined(bool joined);
    void applyKeepAlive();
    // Forgets the frames that the socket has passed to the system.
    void settleUnsent();
    // Whether more than frames frames, or more than bytes bytes, of ours wait to be written.
    bool unsentBeyond(int frames, qint64 bytes);
    bool mayReadOn();
    void holdWhileBehind();
    int heartbeatInterval() const;
    void releaseResources() override;

    // Worker thread only, except where noted.
    QWebSocket* m_socket = nullptr;
    bool m_joined = false; // guarded by m_mutex; read from any thread
    QString m_projectUid;
    QString m_verificationCode;
    QString m_ownId;
    QTimer* m_heartbeat = nullptr;
    QTimer* m_loginDeadline = nullptr; // runs from a join request until the login is answered
    mutable QMutex m_mutex;
    QUrl m_relayUrl;                                    // guarded by m_mutex
    int m_heartbeatInterval = DefaultHeartbeatInterval; // guarded by m_mutex
    DeliveryPacer m_pacer{MaxWaiting, MaxWaitingBytes}; // thread-safe
    // Receives the queued sig_sendCmd calls, so that a hold can run them alone. Lives in the worker
    // thread; owned, released there.
    QObject* m_outbox = nullptr;
    std::atomic<int> m_commandsQueued{0}; // sig_sendCmd calls not yet run; any thread
    std::deque<qint64> m_unsentSizes;     // bytes of each frame the socket still holds, oldest first
    qint64 m_unsentTotal = 0;
    std::atomic<bool> m_stopping{false};
    struct HoldLog
    {
        qint64 holds = 0;    // not yet logged
        QElapsedTimer since; // the last line
    };
    HoldLog m_holdLog[2]; // receiver behind, frames waiting
    QMutex m_holdMutex;
    QWaitCondition m_holdWake; // a hold waiting for the system: woken by new work and by shutdown
};
