#pragma once

#include "tools/mediaserver-standin/StandinOptions.h"

#include <QHash>
#include <QJsonObject>
#include <QObject>

class QHostAddress;
class QIODevice;
class QTcpServer;
class QTcpSocket;
class QUdpSocket;
class RequestManager;

// A stand-in for the media server peer of the control link, built on the panel's
// own framing code. Answers "requestServerConfig" probes, accepts any number of
// links, runs the optional password handshake, answers requests from a scripted
// state, replays a file of commands after "connected", and writes every received
// command (and its own events) as one JSON line to the log device.
// Lives in the thread that creates it.
class MediaServerStandin : public QObject
{
    Q_OBJECT
public:
    explicit MediaServerStandin(const StandinOptions& options, QObject* parent = nullptr);
    ~MediaServerStandin() override;

    // Binds discovery and opens the link port; false with a reason when either fails.
    bool start(QString* error = nullptr);
    int discoveryPort() const;
    int tcpPort() const;
    int clientCount() const { return int(m_sessions.size()); }

    // JSON-lines log; not owned; nullptr logs nothing.
    void setLog(QIODevice* device) { m_log = device; }

    // Sends a command to every client that has passed the handshake.
    void sendToAll(const QString& sCmd, const QJsonObject& params);
    // Closes every link, as when the server goes away.
    void dropClients();

Q_SIGNALS:
    void commandReceived(QString sCmd, QJsonObject params);
    void probeReceived(QString peer, QJsonObject params);
    void probeAnswered(QString peer);
    void clientConnected(QString peer);
    void clientVerified();
    void clientDisconnected();

private:
    struct Session
    {
        RequestManager* manager = nullptr;
        bool verified = false;
        qint64 written = 0;
        bool cut = false;
        bool strayed = false;
    };

    void onDatagrams();
    void answerProbe(const QHostAddress& to, int replyPort, int announcedPort);
    void onNewConnection();
    // Opens the handshake: asks for the password, or says "connected".
    void greet(QTcpSocket* socket);
    // Writes the first frame of a file message, as StandinOptions::stallInFile says.
    void writeFileStart(QTcpSocket* socket);
    void onCommand(QTcpSocket* socket, const QString& sCmd, const QJsonObject& params);
    void completeHandshake(QTcpSocket* socket);
    void startReplay(QTcpSocket* socket);
    // Sends a command, after the answer hold unless it belongs to the handshake.
    void send(QTcpSocket* socket, const QString& sCmd, const QJsonObject& params);
    // Writes every frame of one command at once.
    void writeCommand(QTcpSocket* socket, const QString& sCmd, const QJsonObject& params);
    // Writes one frame as the hostile-link options say.
    void writeFrame(QTcpSocket* socket, const QByteArray& frame);
    void writeLog(const QJsonObject& line);

    StandinOptions m_options;
    QJsonObject m_state;
    QUdpSocket* m_udp = nullptr;
    QTcpServer* m_server = nullptr;
    QHash<QTcpSocket*, Session> m_sessions;
    QIODevice* m_log = nullptr;
};
