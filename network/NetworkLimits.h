#pragma once

#include <QtGlobal>

// Bounds on what a LAN peer can make us hold. Every value is far above what the
// system itself sends (commands are a few KB, stage images a few hundred KB), so
// only a broken or hostile peer ever reaches one of them.
namespace NetworkLimits {
// Largest payload a frame head may announce; a head announcing more (or a
// negative length) is treated like a head with a bad magic.
constexpr qint32 kMaxFrameLength = 16 * 1024 * 1024;
// Largest text of one incoming message; a message growing past it is dropped.
constexpr qsizetype kMaxMessageSize = 16 * 1024 * 1024;
// Most incoming messages held at once (pending or waiting for an earlier one);
// when reached, the oldest stalled message is dropped to make room. A paced
// sender puts the first chunk of every queued command on the wire at once, so a
// burst of multi-chunk commands is held here in full until its second chunks come.
constexpr int kMaxPendingMessages = 65536;
// Most bytes held by incoming messages together; the oldest stalled messages are
// dropped when a new chunk would exceed it.
constexpr qsizetype kMaxPendingMessageBytes = 64 * 1024 * 1024;
// Most incoming files in progress at once; the oldest is failed to make room.
constexpr int kMaxPendingFiles = 64;
// Largest information text of an incoming file.
constexpr qint32 kMaxFileInfoSize = 1024 * 1024;
// Discovery: most server replies reported per second from one sender; a server
// answers once per probe and local address, a flood is cut here before it reaches
// the GUI thread. Replies naming the link address are not counted.
constexpr int kMaxDiscoveryReportsPerSender = 8;
// Discovery: most senders whose replies are reported within one second.
constexpr int kMaxDiscoverySendersPerSecond = 512;
// Largest chunk of a message or file content.
constexpr int kChunkSize = 1024;
} // namespace NetworkLimits
