#include "network/DeliveryPacer.h"

#include <QDeadlineTimer>

DeliveryPacer::DeliveryPacer(int maxWaiting, qint64 maxWaitingBytes)
    : m_maxWaiting(maxWaiting), m_maxWaitingBytes(maxWaitingBytes)
{
}

bool DeliveryPacer::add(qint64 bytes)
{
    QMutexLocker lock(&m_mutex);
    m_sizes.push_back(bytes);
    m_bytes += bytes;
    if (!m_stopped && (int(m_sizes.size()) >= m_maxWaiting || m_bytes >= m_maxWaitingBytes))
        m_paused = true;
    return !m_paused;
}

bool DeliveryPacer::mayRead() const
{
    QMutexLocker lock(&m_mutex);
    return !m_paused;
}

bool DeliveryPacer::take()
{
    QMutexLocker lock(&m_mutex);
    if (m_sizes.empty())
        return false;
    m_bytes -= m_sizes.front();
    m_sizes.pop_front();
    if (!m_paused || int(m_sizes.size()) > m_maxWaiting / 2 || m_bytes > m_maxWaitingBytes / 2)
        return false;
    m_paused = false;
    m_resumed.wakeAll();
    return true;
}

bool DeliveryPacer::waitForRead(int msec)
{
    const QDeadlineTimer deadline(msec);
    QMutexLocker lock(&m_mutex);
    while (m_paused && !deadline.hasExpired())
        m_resumed.wait(&m_mutex, deadline);
    return !m_paused;
}

void DeliveryPacer::stop()
{
    QMutexLocker lock(&m_mutex);
    m_stopped = true;
    m_paused = false;
    m_resumed.wakeAll();
}
