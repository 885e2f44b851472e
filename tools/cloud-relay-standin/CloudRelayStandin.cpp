#include "tools/cloud-relay-standin/CloudRelayStandin.h"

#include "tools/StandinSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QWebSocket>
#include <QWebSocketServer>

#include <algorithm>

namespace {

QString compactText(const QJsonObject& object)
{
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

bool readsAsZero(const QJsonValue& status)
{
    return (status.isDouble() && status.toDouble() == 0) ||
           (status.isString() && status.toString() == QLatin1String("0"));
}

} // namespace

CloudRelayStandin::CloudRelayStandin(const RelayStandinOptions& options, QObject* parent)
    : QObject(parent), m_options(options)
{
}

CloudRelayStandin::~CloudRelayStandin()
{
    const auto sockets = m_devices.keys();
    for (QWebSocket* socket : sockets) {
        disconnect(socket, nullptr, this, nullptr);
        socket->abort();
        delete socket;
    }
}

bool CloudRelayStandin::start(QString* error)
{
    m_server = new QWebSocketServer(QStringLiteral("tavix-cloud-relay-standin"),
                                    QWebSocketServer::NonSecureMode, this);
    if (!m_server->listen(m_options.bindAddress, quint16(m_options.port))) {
        if (error)
            *error = QStringLiteral("relay port: ") + m_server->errorString();
        return false;
    }
    connect(m_server, &QWebSocketServer::newConnection, this, &CloudRelayStandin::onNewConnection);
    writeLog(QJsonObject{{"event", "listening"}, {"url", url().toString()}, {"port", port()}});
    return true;
}

int CloudRelayStandin::port() const
{
    return m_server ? m_server->serverPort() : 0;
}

QUrl CloudRelayStandin::url() const
{
    QUrl url;
    url.setScheme(QStringLiteral("ws"));
    url.setHost(m_server ? m_server->serverAddress().toString() : m_options.bindAddress.toString());
    url.setPort(port());
    return url;
}

QStringList CloudRelayStandin::deviceIds() const
{
    QList<Device> devices;
    for (const Device& device : m_devices)
        if (!device.id.isEmpty())
            devices.append(device);
    std::sort(devices.begin(), devices.end(),
              [](const Device& a, const Device& b) { return a.order < b.order; });
    QStringList ids;
    for (const Device& device : std::as_const(devices))
        ids.append(device.id);
    return ids;
}

void CloudRelayStandin::sendToAll(const QString& text)
{
    const auto sockets = m_devices.keys();
    for (QWebSocket* socket : sockets) {
        if (m_log)
            writeLog(QJsonObject{{"dir", "out"}, {"peer", peerOf(socket)}, {"text", text}});
        socket->sendTextMessage(text);
    }
}

void CloudRelayStandin::closeAll()
{
    const auto sockets = m_devices.keys();
    for (QWebSocket* socket : sockets)
        socket->close(QWebSocketProtocol::CloseCodeNormal, QString());
}

void CloudRelayStandin::onNewConnection()
{
    while (QWebSocket* socket = m_server->nextPendingConnection()) {
        socket->setParent(this);
        m_devices.insert(socket, Device());
        const QString peer = peerOf(socket);
        writeLog(QJsonObject{{"event", "connected"}, {"peer", peer}});
        connect(socket, &QWebSocket::textMessageReceived, this,
                [this, socket](const QString& text) { onText(socket, text); });
        // A link that drops without the closing handshake shows up as an error first.
        connect(socket, QOverload<QAbstractSocket::SocketError>::of(&QWebSocket::error), this,
                [this, socket] {
                    const auto it = m_devices.find(socket);
                    if (it != m_devices.end())
                        it->dropped = true;
                });
        connect(socket, &QWebSocket::disconnected, this, [this, socket] {
            const QString peer = peerOf(socket);
            const int closeCode = m_devices.value(socket).dropped
                                      ? int(QWebSocketProtocol::CloseCodeAbnormalDisconnection)
                                      : int(socket->closeCode());
            m_devices.remove(socket);
            socket->deleteLater();
            writeLog(QJsonObject{{"event", "disconnected"}, {"peer", peer}, {"closeCode", closeCode}});
            Q_EMIT deviceDisconnected(peer, closeCode);
        });
        Q_EMIT deviceConnected(peer);
    }
}

void CloudRelayStandin::onText(QWebSocket* socket, const QString& text)
{
    const QString peer = peerOf(socket);
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8());
    const auto device = m_devices.find(socket);
    if (device != m_devices.end() && device->floodSent >= 0 &&
        document.object().value(QLatin1String("receiver")).toString() == QLatin1String(FloodSender)) {
        ++device->floodAnswered;
        if (device->floodAnswered % 10000 == 0 || device->floodAnswered == m_options.floodRequests)
            reportFlood(socket);
        return;
    }
    if (m_log) {
        if (document.isObject())
            writeLog(QJsonObject{{"dir", "in"}, {"peer", peer}, {"frame", document.object()}});
        else
            writeLog(QJsonObject{{"dir", "in"}, {"peer", peer}, {"text", text}});
    }
    Q_EMIT textReceived(peer, text);
    const QJsonObject frame = document.object();
    const QString type = frame.value(QLatin1String("type")).toString();
    if (type == QLatin1String("device_login"))
        onLogin(socket, frame);
    else if (type == QLatin1String("ping"))
        send(socket, QJsonObject{{"type", "pong"}, {"status", 0}});
    else if (type == QLatin1String("send_message"))
        onSendMessage(socket, frame);
}

void CloudRelayStandin::onLogin(QWebSocket* socket, const QJsonObject& frame)
{
    Device& device = m_devices[socket];
    if (!readsAsZero(m_options.loginStatus)) {
        device.id.clear();
        send(socket, QJsonObject{{"type", "device_login"}, {"status", m_options.loginStatus}, {"data", ""}});
        return;
    }
    // A device logging in again keeps its id and moves to the project it names.
    if (device.id.isEmpty()) {
        device.order = m_nextDevice++;
        device.id = QStringLiteral("device-%1").arg(device.order);
    }
    device.project = frame.value(QLatin1String("project_num")).toString();
    send(socket,
         QJsonObject{{"type", "device_login"}, {"status", m_options.loginStatus}, {"data", device.id}});
    const bool flood = m_options.floodRequests > 0 && device.floodSent < 0;
    if (flood) {
        device.floodSent = 0;
        connect(socket, &QWebSocket::bytesWritten, this, [this, socket] { feedFlood(socket); });
    }
    Q_EMIT deviceLoggedIn(device.id, frame);
    if (flood)
        feedFlood(socket);
}

void CloudRelayStandin::feedFlood(QWebSocket* socket)
{
    static const QString request = compactText(
        {{"type", "send_message"},
         {"status", 0},
         {"data", compactText({{"cmdType", "request_device_operInfo"},
                               {"cmdParams", QJsonArray{"cpu_rate", "memory_rate", "gpu_rate"}}})},
         {"sender", FloodSender}});
    // Looked up for every frame: a failing write may end the link and forget the device.
    for (auto it = m_devices.find(socket);
         it != m_devices.end() && it->floodSent >= 0 && it->floodSent < m_options.floodRequests &&
         socket->bytesToWrite() < FloodWindowBytes;
         it = m_devices.find(socket)) {
        const qint64 sent = ++it->floodSent;
        socket->sendTextMessage(request);
        if (sent % 10000 == 0 || sent == m_options.floodRequests)
            reportFlood(socket);
    }
}

void CloudRelayStandin::reportFlood(QWebSocket* socket)
{
    const Device device = m_devices.value(socket);
    writeLog(QJsonObject{{"event", "flood"},
                         {"peer", device.id},
                         {"sent", device.floodSent},
                         {"answered", device.floodAnswered}});
    Q_EMIT floodProgress(device.id, device.floodSent, device.floodAnswered);
}

void CloudRelayStandin::onSendMessage(QWebSocket* socket, const QJsonObject& frame)
{
    const Device from = m_devices.value(socket);
    if (from.id.isEmpty()) {
        writeLog(QJsonObject{{"event", "dropped"}, {"peer", peerOf(socket)}, {"reason", "not logged in"}});
        return;
    }
    const QString receiver = frame.value(QLatin1String("receiver")).toString();
    const QJsonObject relayed{{"type", "send_message"},
                              {"status", 0},
                              {"data", frame.value(QLatin1String("message")).toString()},
                              {"sender", from.id}};
    bool delivered = false;
    for (auto it = m_devices.cbegin(); it != m_devices.cend(); ++it) {
        const Device& to = it.value();
        if (it.key() == socket || to.id.isEmpty() || to.project != from.project)
            continue;
        if (receiver.isEmpty() || receiver == to.id) {
            send(it.key(), relayed);
            delivered = true;
        }
    }
    if (!delivered)
        writeLog(QJsonObject{{"event", "dropped"}, {"peer", from.id}, {"reason", "no such receiver"}});
}

void CloudRelayStandin::send(QWebSocket* socket, const QJsonObject& frame)
{
    writeLog(QJsonObject{{"dir", "out"}, {"peer", peerOf(socket)}, {"frame", frame}});
    socket->sendTextMessage(compactText(frame));
}

QString CloudRelayStandin::peerOf(QWebSocket* socket) const
{
    const QString id = m_devices.value(socket).id;
    if (!id.isEmpty())
        return id;
    return QStringLiteral("%1:%2").arg(socket->peerAddress().toString()).arg(socket->peerPort());
}

void CloudRelayStandin::writeLog(const QJsonObject& line)
{
    writeJsonLine(m_log, line);
}
