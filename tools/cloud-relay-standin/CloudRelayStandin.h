#pragma once

#include "tools/cloud-relay-standin/RelayStandinOptions.h"

#include <QHash>
#include <QJsonObject>
#include <QObject>
#include <QUrl>

class QIODevice;
class QWebSocket;
class QWebSocketServer;

// A stand-in for the cloud relay the panel joins projects on. Accepts WebSocket links, answers
// "device_login" with the configured status (an accepted device gets the id "device-N" as
// "data"), answers "ping" with "pong", relays "send_message" from a logged-in device to the
// device named as "receiver" (to every other device of the project when it is empty) as
// {"type": "send_message", "status": 0, "data": message, "sender": its id}, and writes every frame
// in both directions, and its own events, as one JSON line to the log device.
//
// With floodRequests set, every accepted device is sent that many requests for its load figures
// from the sender FloodSender, each written once the link has taken all but FloodWindowBytes of
// what went before (so TCP, not this process, holds what the device does not read). The answers to
// FloodSender are counted, not relayed; the log then carries progress lines ("flood") instead of
// those frames.
// Lives in the thread that creates it.
class CloudRelayStandin : public QObject
{
    Q_OBJECT
public:
    explicit CloudRelayStandin(const RelayStandinOptions& options, QObject* parent = nullptr);
    ~CloudRelayStandin() override;

    // Listens; false with a reason when the port cannot be had.
    bool start(QString* error = nullptr);
    int port() const;
    // "ws://<bound address>:<port>".
    QUrl url() const;
    int connectionCount() const { return int(m_devices.size()); }
    static constexpr const char* FloodSender = "flooder";
    static constexpr qint64 FloodWindowBytes = 64 * 1024;
    // Ids of the logged-in devices, oldest first.
    QStringList deviceIds() const;

    // JSON-lines log; not owned; nullptr logs nothing.
    void setLog(QIODevice* device) { m_log = device; }
    void setLoginStatus(const QJsonValue& status) { m_options.loginStatus = status; }
    // Sends one text frame, as it is, to every link.
    void sendToAll(const QString& text);
    // Closes every link with close code 1000, as when the relay shuts down.
    void closeAll();

Q_SIGNALS:
    void deviceConnected(QString peer);
    // closeCode is what the device closed with; 1006 when the link dropped without closing.
    void deviceDisconnected(QString peer, int closeCode);
    // Every text frame received, as it came.
    void textReceived(QString peer, QString text);
    void deviceLoggedIn(QString deviceId, QJsonObject login);
    // Progress of a flood: requests written to the device, answers from it so far.
    void floodProgress(QString deviceId, qint64 sent, qint64 answered);

private:
    struct Device
    {
        QString id; // empty until a login is accepted
        QString project;
        quint64 order = 0;
        bool dropped = false; // ended without the closing handshake
        qint64 floodSent = -1; // -1: not flooded
        qint64 floodAnswered = 0;
    };

    void onNewConnection();
    void onText(QWebSocket* socket, const QString& text);
    void onLogin(QWebSocket* socket, const QJsonObject& frame);
    void onSendMessage(QWebSocket* socket, const QJsonObject& frame);
    void send(QWebSocket* socket, const QJsonObject& frame);
    void feedFlood(QWebSocket* socket);
    void reportFlood(QWebSocket* socket);
    QString peerOf(QWebSocket* socket) const;
    void writeLog(const QJsonObject& line);

    RelayStandinOptions m_options;
    QWebSocketServer* m_server = nullptr;
    QHash<QWebSocket*, Device> m_devices;
    quint64 m_nextDevice = 1;
    QIODevice* m_log = nullptr;
};
