#pragma once

#include <QHostAddress>
#include <QJsonValue>

// How a stand-in cloud relay listens and answers.
struct RelayStandinOptions
{
    QHostAddress bindAddress{QHostAddress::LocalHost};
    // 0 picks a free port.
    int port = 3000;
    // "status" of every login reply, any JSON value. The relay accepts the device (gives it an id
    // and relays its messages) when this reads as 0: the number, or "0".
    QJsonValue loginStatus{QStringLiteral("0")};
    // Requests for the load figures ("request_device_operInfo") sent to every device whose login is
    // accepted, as fast as its link takes them; 0 sends none.
    qint64 floodRequests = 0;
};
