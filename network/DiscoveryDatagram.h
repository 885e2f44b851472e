#pragma once

#include "network/NetworkLimits.h"
#include "network/RequestHead.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>

// One discovery message as one UDP datagram: a single frame (message type, last
// flag set) holding a whole message text of at most one chunk. A datagram is
// self-contained: nothing of one is kept to complete another.
class DiscoveryDatagram
{
public:
    // Largest datagram that can hold a discovery message.
    static constexpr int kMaxSize = RequestHead::Size + NetworkLimits::kChunkSize;

    // The datagram of a new message (a new message uid); empty when the text does
    // not fit in one chunk.
    static QByteArray encode(const QString& sCmd, const QJsonObject& params);
    // Reads a datagram of size bytes. False for anything but exactly one whole
    // message frame with a readable text; on success params also hold "uid", the
    // frame's uid as decimal text, as with any delivered command.
    static bool decode(const char* data, qsizetype size, QString& sCmd, QJsonObject& params);
};
