#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QJsonObject>
#include <QObject>
#include <QString>
#include <QVariantMap>

#include <deque>

class TerminalConnect;

// One control link to one media-server endpoint, from its attempt until it ends. Owns its link
// worker (a TerminalConnect, in a thread of its own), whose reports reach it queued.
//
// What the server sends (commands, files coming in) goes out through the delivery signals while
// the panel follows the link; otherwise it waits here in arrival order, and the worker stops
// reading once TerminalConnect::kMaxWaiting deliveries wait, so a link nobody follows holds a
// bounded amount and TCP holds its server back.
//
// The link knows how far its server has come. It has greeted once "connected" arrived. It has
// answered once the server asked for the password ("connectVerifyAsk") or refused one
// ("passwordError"), or, after the panel sent a request following the greeting, once one of the
// replies that complete the panel's first download arrived ("setProgramTable",
// "setTrackManager", "setVexaProgramManager"). Any other message, however many, is no answer:
// a server may push changes while it has not loaded its show.
// One password question at a time: an ask that comes while one is open (from the ask that was
// passed on until the panel sends "connectVerify") is dropped.
//
// GUI thread. end() stops the worker at once (its thread is awaited) and releases the link later;
// from then on it reports nothing.
class TerminalLink : public QObject
{
    Q_OBJECT
public:
    // A link to ip:port, which the host sender named.
    TerminalLink(const QString& ip, int port, const QString& sender, QObject* parent);
    ~TerminalLink() override;

    // Starts the attempt; reported with up() or attemptFailed().
    void start();
    // Closes a link that is up; its end is reported with ended(), and counts as no failure of the
    // server's (closedHere()).
    void close();
    // Stops the worker now and releases the link once control returns to the event loop.
    void end();

    QString ip() const { return m_ip; }
    int port() const { return m_port; }
    QString sender() const { return m_sender; }
    // The server's address as the worker recorded it when the link came up.
    QString address() const { return m_address; }
    bool isUp() const { return m_up; }
    bool closedHere() const { return m_closing; }
    bool hasGreeted() const { return m_greeted; }
    bool hasAnswered() const { return m_answered; }
    // Whether the panel has sent it a request since it greeted.
    bool wasAsked() const { return m_requested; }
    // Since when the link has been up (ms of this link's clock; 0 for one not up).
    qint64 upForMs() const { return m_up ? m_upClock.elapsed() : 0; }

    // While followed, deliveries go out (those waiting first, in order); otherwise they wait.
    void setFollowed(bool followed);
    void sendCmd(const QString& sCmd, const QJsonObject& params);
    void sendFile(const QString& sFilePath, const QJsonObject& params);

Q_SIGNALS:
    void up();
    // The attempt ended without a link; hostAnswered as TerminalConnect::connectFailed.
    void attemptFailed(bool hostAnswered);
    void ended();
    // Emitted once each, after the message that made it so was delivered or put to wait.
    void greeted();
    void answered();

    // Deliveries, while followed.
    void receiveCmd(QString sCmd, QJsonObject params);
    void fileContentReceive(QByteArray data, bool complate, QVariantMap params);
    void fileReceiveError(QVariantMap params);
    // What the panel sends; always passed on.
    void fileContentSend(qlonglong sendPos, bool complate, QString sFilePath, qulonglong sendUid);
    void fileSendError(QString sFilePath, qulonglong sendUid);

private:
    enum class Kind
    {
        Command,
        FileContent,
        FileError
    };
    struct Delivery
    {
        Kind kind;
        QString cmd;
        QJsonObject params;
        QByteArray data;
        bool complete = false;
        QVariantMap fileParams;
    };

    void arrive(Delivery delivery);
    void deliver(const Delivery& delivery);
    void flush();
    // Whether a command arriving now changes how far the server has come; false for an ask to be
    // dropped.
    bool note(const QString& sCmd, bool* greetedNow, bool* answeredNow);

    const QString m_ip;
    const int m_port;
    const QString m_sender;
    TerminalConnect* m_worker;
    QString m_address;
    QElapsedTimer m_upClock;
    bool m_up = false;
    bool m_closing = false;
    bool m_ended = false;
    bool m_followed = false;
    bool m_flushing = false;
    bool m_greeted = false;
    bool m_requested = false;
    bool m_answered = false;
    bool m_questionOpen = false;
    bool m_dropLogged = false;
    std::deque<Delivery> m_waiting;
};
