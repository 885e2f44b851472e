#pragma once

#include <QCoreApplication>
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

// The process's resident set in KiB (0 where /proc is not there).
inline double residentSetKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> lines = status.readAll().split('\n');
    for (const QByteArray& line : lines) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble();
    }
    return 0;
}
