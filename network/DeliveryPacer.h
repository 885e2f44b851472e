#pragma once

#include <QMutex>
#include <QWaitCondition>
#include <QtGlobal>

#include <deque>

// Bounds what a link worker has handed to its consumer's thread and the consumer has not yet
// handled. The worker adds each delivery with its size in bytes and stops reading its socket
// while mayRead() is false, so the peer's bytes wait in the kernel and TCP holds the peer back;
// the consumer takes each delivery once handled, in the order they were added, and wakes the
// worker when take() answers true. Reading pauses once maxWaiting deliveries or maxWaitingBytes
// bytes wait, and may resume once both have fallen to half of that. Nothing is dropped or
// reordered here: a delivery larger than the byte bound still goes, and pauses reading after it.
// A worker that cannot stop reading its socket by itself holds its thread in waitForRead() instead,
// which the take() that resumes reading ends; stop() ends every hold for the owner's shutdown.
// Thread-safe: add(), mayRead() and waitForRead() from the worker's thread, take() from the
// consumer's, stop() from any.
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
    // Blocks the calling thread while reading is paused, for at most msec ms; answers mayRead().
    bool waitForRead(int msec);
    // Reading never pauses again and every waitForRead() ends at once.
    void stop();

private:
    const int m_maxWaiting;
    const qint64 m_maxWaitingBytes;
    mutable QMutex m_mutex;
    std::deque<qint64> m_sizes;
    qint64 m_bytes = 0;
    bool m_paused = false;
    bool m_stopped = false;
    QWaitCondition m_resumed;
};
