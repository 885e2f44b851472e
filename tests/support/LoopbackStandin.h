#pragma once

#include "tools/mediaserver-standin/MediaServerStandin.h"

#include <QUdpSocket>

#include <memory>

// A UDP port that was free a moment ago on loopback.
inline int freeUdpPort()
{
    QUdpSocket probe;
    probe.bind(QHostAddress::LocalHost, 0);
    return probe.localPort();
}

// A stand-in media server on free ports of `bind`; null when it cannot listen.
inline std::unique_ptr<MediaServerStandin> startStandin(StandinOptions options = {},
                                                        const QHostAddress& bind = QHostAddress::LocalHost)
{
    options.bindAddress = bind;
    options.discoveryPort = 0;
    options.tcpPort = 0;
    auto standin = std::make_unique<MediaServerStandin>(options);
    if (!standin->start())
        return nullptr;
    return standin;
}
