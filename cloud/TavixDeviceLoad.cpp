#include "cloud/TavixDeviceLoad.h"

#include <QFile>
#include <QList>

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

TavixDeviceLoad::TavixDeviceLoad() : m_last(readCpuTimes()) {}

int TavixDeviceLoad::percent(quint64 part, quint64 whole)
{
    if (whole == 0)
        return 0;
    return int(qBound<quint64>(0, (part * 100 + whole / 2) / whole, 100));
}

std::optional<int> TavixDeviceLoad::cpuRate()
{
    const std::optional<CpuTimes> now = readCpuTimes();
    if (!now)
        return std::nullopt;
    const CpuTimes before = m_last.value_or(CpuTimes());
    m_last = now;
    if (now->total > before.total && now->busy >= before.busy)
        return percent(now->busy - before.busy, now->total - before.total);
    return percent(now->busy, now->total);
}

#if defined(Q_OS_LINUX)

std::optional<TavixDeviceLoad::CpuTimes> TavixDeviceLoad::readCpuTimes()
{
    QFile file(QStringLiteral("/proc/stat"));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // "cpu  user nice system idle iowait irq softirq steal guest guest_nice"; the guest times are
    // already counted in user and nice.
    const QList<QByteArray> fields = file.readLine().simplified().split(' ');
    if (fields.size() < 5 || fields.first() != "cpu")
        return std::nullopt;
    CpuTimes times;
    quint64 idle = 0;
    for (int i = 1; i < qMin(int(fields.size()), 9); ++i) {
        bool ok = false;
        const quint64 value = fields.at(i).toULongLong(&ok);
        if (!ok)
            return std::nullopt;
        times.total += value;
        if (i == 4 || i == 5)
            idle += value;
    }
    times.busy = times.total - idle;
    return times;
}

std::optional<int> TavixDeviceLoad::memoryRate() const
{
    QFile file(QStringLiteral("/proc/meminfo"));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    quint64 total = 0;
    std::optional<quint64> available;
    // Files under /proc report no size: read them whole rather than up to their "end".
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (const QByteArray& line : lines) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 2)
            continue;
        if (fields.first() == "MemTotal:")
            total = fields.at(1).toULongLong();
        else if (fields.first() == "MemAvailable:")
            available = fields.at(1).toULongLong();
    }
    if (total == 0 || !available || *available > total)
        return std::nullopt;
    return percent(total - *available, total);
}

#elif defined(Q_OS_WIN)

std::optional<TavixDeviceLoad::CpuTimes> TavixDeviceLoad::readCpuTimes()
{
    FILETIME idle, kernel, user;
    if (!GetSystemTimes(&idle, &kernel, &user))
        return std::nullopt;
    auto value = [](const FILETIME& time) {
        return (quint64(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    // Kernel time includes the idle time.
    CpuTimes times;
    times.total = value(kernel) + value(user);
    times.busy = times.total - value(idle);
    return times;
}

std::optional<int> TavixDeviceLoad::memoryRate() const
{
    MEMORYSTATUSEX status;
    status.dwLength = sizeof(status);
    if (!GlobalMemoryStatusEx(&status) || status.ullTotalPhys == 0)
        return std::nullopt;
    return percent(status.ullTotalPhys - status.ullAvailPhys, status.ullTotalPhys);
}

#else

std::optional<TavixDeviceLoad::CpuTimes> TavixDeviceLoad::readCpuTimes()
{
    return std::nullopt;
}

std::optional<int> TavixDeviceLoad::memoryRate() const
{
    return std::nullopt;
}

#endif
