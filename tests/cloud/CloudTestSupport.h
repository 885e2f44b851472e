#pragma once

#include "tools/cloud-relay-standin/CloudRelayStandin.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTest>
#include <QWebSocket>

#include <memory>

// A stand-in relay on a free loopback port.
inline std::unique_ptr<CloudRelayStandin> startRelay()
{
    RelayStandinOptions options;
    options.port = 0;
    auto relay = std::make_unique<CloudRelayStandin>(options);
    if (!relay->start())
        return nullptr;
    return relay;
}

// The frames that one peer of the relay sent, as they came.
inline QStringList framesFrom(const QSignalSpy& textReceived, const QString& peer)
{
    QStringList frames;
    for (const QList<QVariant>& arguments : textReceived)
        if (arguments.at(0).toString() == peer)
            frames.append(arguments.at(1).toString());
    return frames;
}

// Another device of the cloud project: a bare WebSocket that logs in and exchanges frames.
class RelayPeer
{
public:
    RelayPeer() : m_received(&m_socket, &QWebSocket::textMessageReceived) {}

    // Opens the relay and logs into the project; the id the relay gave, "" on failure.
    QString login(const QUrl& relayUrl, const QString& project)
    {
        QSignalSpy connected(&m_socket, &QWebSocket::connected);
        m_socket.open(relayUrl);
        if (!connected.wait(5000))
            return QString();
        m_socket.sendTextMessage(
            QStringLiteral(R"({"type":"device_login","project_num":"%1","bind_code":"c"})").arg(project));
        const QJsonObject reply = next();
        m_id = reply.value(QLatin1String("data")).toString();
        return m_id;
    }

    // Sends a command to a device as the panel's own peers do.
    void sendCmd(const QString& cmdType, const QJsonValue& cmdParams, const QString& receiver)
    {
        const QJsonObject message{{QStringLiteral("cmdType"), cmdType},
                                  {QStringLiteral("cmdParams"), cmdParams}};
        const QJsonObject frame{{QStringLiteral("type"), QStringLiteral("send_message")},
                                {QStringLiteral("message"),
                                 QString::fromUtf8(QJsonDocument(message).toJson(QJsonDocument::Compact))},
                                {QStringLiteral("receiver"), receiver},
                                {QStringLiteral("sender"), m_id}};
        m_socket.sendTextMessage(QString::fromUtf8(QJsonDocument(frame).toJson(QJsonDocument::Compact)));
    }

    // The next frame that reaches this device (waiting up to 5 s), or an empty object.
    QJsonObject next()
    {
        if (m_received.isEmpty() && !m_received.wait(5000))
            return QJsonObject();
        return QJsonDocument::fromJson(m_received.takeFirst().at(0).toString().toUtf8()).object();
    }

private:
    QWebSocket m_socket;
    QSignalSpy m_received;
    QString m_id;
};
