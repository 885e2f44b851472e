#pragma once

#include "network/NetworkWorker.h"

#include <QAbstractSocket>

#include <QByteArray>
#include <QMutex>
#include <QString>
#include <QVariant>

#include <optional>

class QTcpSocket;
class QTimer;
class RequestManager;

// Base of the workers that keep one framed TCP link to a peer as its client: the socket, a
// request manager while the link is up (it frames what goes out and what comes in) and one
// timer, which abandons an attempt that does not connect in time. The socket, the timer and the
// manager live in the worker thread and are released there; everything protected runs in that
// thread, except serverAddress(). The link runs without Nagle's delay. A frame the kernel takes
// whole when nothing is queued bypasses the socket's buffer, so bytesWritten() does not count it.
class FramedClientWorker : public NetworkWorker
{
    Q_OBJECT
public:
    static constexpr qint64 kReadChunk = 16 * 1024;

    // The peer address recorded when the latest link came up (kept after it ends); safe to call
    // from any thread.
    QString serverAddress() const;

protected:
    FramedClientWorker() = default;

    // An attempt to connect, from its start until it connects or ends.
    struct Attempt
    {
        QString ip;
        int port = 0;
    };

    // Starts an attempt to connect, abandoned after timeoutMs, and answers true; answers false and
    // starts nothing while one is under way or a link is up, or when the port is out of range.
    // An attempt that fails at once has been reported to attemptFailed() when this returns.
    bool connectLink(const QString& sIp, int nPort, int timeoutMs);
    // Closes the link gracefully, or drops an attempt under way at once; the end of a link is
    // reported as usual, a dropped attempt is not reported.
    void closeLink();
    // The attempt under way, if any.
    const std::optional<Attempt>& attempt() const { return m_attempt; }
    // Drops the manager: the link may end from inside the manager's own delivery, so it goes
    // once that call has returned, and whatever it still holds reaches nobody.
    void dropManager();
    // Hands what the socket holds to the manager, kReadChunk bytes at a time, while the manager is
    // there and mayRead() allows. Runs on every readiness of the socket; a derived worker whose
    // mayRead() turned true again calls it to go on.
    void readIncoming();

    QTcpSocket* socket() const { return m_socket; }
    RequestManager* manager() const { return m_manager; }
    QTimer* linkTimer() const { return m_timer; }

    // Connects the new manager's deliveries to the derived worker (its frames out are written
    // to the socket already).
    virtual void attachManager(RequestManager* manager) = 0;
    // The link came up from address; the manager is attached and the timer stopped.
    virtual void linkUp(const QString& address) = 0;
    // The link ended; what the peer sent before a close of its own was delivered first, then the
    // manager is dropped and the timer stopped.
    virtual void linkDown() = 0;
    // Data went to the manager, and the manager is still there.
    virtual void dataDelivered() {}
    // Whether the socket may be read now; while false its bytes wait (with a bounded read buffer,
    // in the kernel, so that TCP holds the peer back).
    virtual bool mayRead() const { return true; }
    // The timer ran out: an attempt that has not connected is abandoned.
    virtual void linkTimeout();
    // The attempt to ip:port ended without a link (an error before connecting, refused, or
    // abandoned by linkTimeout()); called once per attempt, never for one dropped by closeLink().
    virtual void attemptFailed(const QString& ip, int port) = 0;

    // Derived workers that hold more release it and then call this.
    void releaseResources() override;

private:
    void onSocketConnected();
    void onSocketDisconnected();
    void onSocketReadyRead();
    void onSocketStateChanged(QAbstractSocket::SocketState state);
    void onBuffSendRequest(const QByteArray& buff, const QVariant& conditions);

    mutable QMutex m_addressMutex;
    QString m_serverAddress;
    QTcpSocket* m_socket = nullptr;
    RequestManager* m_manager = nullptr;
    QTimer* m_timer = nullptr;
    bool m_closingHere = false;
    std::optional<Attempt> m_attempt;
};
