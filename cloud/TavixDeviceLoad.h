#pragma once

#include <QtGlobal>

#include <optional>

// Load figures of this machine, in whole percent (0 to 100), read from the system: Linux's /proc
// and Windows' system times and memory status. A figure that cannot be read here is nothing; the
// GPU load is never readable in a portable way and has no reader. One owner, one thread.
class TavixDeviceLoad
{
public:
    // Takes the first CPU sample, so the first cpuRate() covers the time since construction.
    TavixDeviceLoad();

    // Share of CPU time spent busy since the previous reading (since construction the first
    // time; since the system started when the clock has not moved on).
    std::optional<int> cpuRate();
    // Share of physical memory in use (not available to new programs).
    std::optional<int> memoryRate() const;

private:
    struct CpuTimes
    {
        quint64 busy = 0;
        quint64 total = 0;
    };
    static std::optional<CpuTimes> readCpuTimes();
    static int percent(quint64 part, quint64 whole);

    std::optional<CpuTimes> m_last;
};
