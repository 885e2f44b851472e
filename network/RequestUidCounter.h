#pragma once

#include <QMutex>
#include <QtGlobal>

// A process-wide source of request uids. Uids run 1, 2, ..., 4294967295 and then
// wrap to 1; 0 is never handed out. Thread-safe: take() locks the counter's own
// mutex; a caller that must keep other work under the same lock holds mutex()
// and calls takeLocked().
class RequestUidCounter
{
public:
    static constexpr quint64 kMaxUid = 0xFFFFFFFFull;

    explicit RequestUidCounter(quint64 start = 0) : m_value(start) {}

    quint64 take();
    quint64 takeLocked();
    QMutex& mutex() { return m_mutex; }

    // The counters shared by every manager of the process.
    static RequestUidCounter& messages();
    static RequestUidCounter& files();

private:
    QMutex m_mutex;
    quint64 m_value;
};
