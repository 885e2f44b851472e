#include "network/RequestUidCounter.h"

quint64 RequestUidCounter::take()
{
    QMutexLocker lock(&m_mutex);
    return takeLocked();
}

quint64 RequestUidCounter::takeLocked()
{
    m_value = m_value < kMaxUid ? m_value + 1 : 1;
    return m_value;
}

RequestUidCounter& RequestUidCounter::messages()
{
    static RequestUidCounter counter;
    return counter;
}

RequestUidCounter& RequestUidCounter::files()
{
    static RequestUidCounter counter;
    return counter;
}
