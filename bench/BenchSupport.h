#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>

#include <benchmark/benchmark.h>

// Runs the registered benchmarks with the command line's options, once the caller has made its
// application and set up what the benchmarks use.
inline int runRegisteredBenchmarks(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// The main() of a benchmark executable: runs the registered benchmarks inside a QCoreApplication.
// setUp runs once the application exists, before any benchmark.
template <typename SetUp> int runBenchmarks(int argc, char** argv, SetUp setUp)
{
    QCoreApplication app(argc, argv);
    setUp();
    return runRegisteredBenchmarks(argc, argv);
}

inline int runBenchmarks(int argc, char** argv)
{
    return runBenchmarks(argc, argv, [] {});
}

// The resident set in KiB of this process, or of the process pid (0 where /proc is not there or
// the process is gone).
inline double residentSetKiB(qint64 pid = 0)
{
    QFile status(pid ? QStringLiteral("/proc/%1/status").arg(pid) : QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> lines = status.readAll().split('\n');
    for (const QByteArray& line : lines) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble();
    }
    return 0;
}

// Keeps a baseline's time per run, and reports a measured one as a ratio to it ("x_baseline").
class RatioReport
{
public:
    void report(benchmark::State& state, double total, int64_t count, bool baseline)
    {
        const double perRun = count ? total / double(count) : 0;
        if (baseline)
            m_baseline = perRun;
        else if (m_baseline > 0)
            state.counters["x_baseline"] = perRun / m_baseline;
    }

private:
    double m_baseline = 0;
};

// Times fn once per iteration and reports the time per run to ratios.
template <typename Fn> void timeRuns(benchmark::State& state, RatioReport& ratios, bool baseline, Fn fn)
{
    double total = 0;
    int64_t count = 0;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        fn();
        total += double(timer.nsecsElapsed());
        ++count;
    }
    ratios.report(state, total, count, baseline);
}
