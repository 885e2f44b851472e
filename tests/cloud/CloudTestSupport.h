#pragma once

#include "tools/cloud-relay-standin/CloudRelayStandin.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTest>

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

inline QJsonObject objectOf(const QString& text)
{
    return QJsonDocument::fromJson(text.toUtf8()).object();
}
