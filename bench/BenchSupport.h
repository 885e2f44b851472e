#pragma once

#include <QCoreApplication>

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
