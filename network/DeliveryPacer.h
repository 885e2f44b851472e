#pragma once

#include <QMutex>
#include <QtGlobal>

#include <deque>

// Bounds what a link worker has handed to its consumer's thread and the consumer has not yet
// handled. The worker adds each delivery with its size in bytes and stops reading its socket
// while mayRead() is false, so the peer's bytes wait in the kernel and TCP holds the peer back;
// the consumer takes each delivery once handled, in the order they were added, and wakes the
// worker when take() answers true. Reading pauses once maxWaiting deliveries or maxWaitingBytes
// bytes wait, and may resume once both have fallen to half of that. Nothing is dropped or
// reordered here: a delivery larger than the byte bound still goes, and pauses reading after it.
// Thread-safe: add() and mayRead() from the worker's thread, take() from the consumer's.
class DeliveryPacer
{
public:
    DeliveryPacer(int maxWaiting, qint64 maxWaitingBytes);

    // One more delivery of bytes waits; answers mayRead().
    bool add(qint64 bytes);
    bool mayRead() const;
    // The oldest waiting delivery was handled; true when reading was paused and may resume now
    // (answered once per pause).
    bool take();

private:
    const int m_maxWaiting;
    const qint64 m_maxWaitingBytes;
    mutable QMutex m_mutex;
    std::deque<qint64> m_sizes;
    qint64 m_bytes = 0;
    bool m_paused = false;
};
