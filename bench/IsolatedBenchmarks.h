#pragma once

#include "BenchSupport.h"
#include "tests/support/IsolatedNetwork.h"

#include <cstdio>

// The main() of a benchmark executable whose traffic must stay in a private network namespace
// (unshare -rn scripts/netns-run.sh BENCHMARK): refuses to run (status 2) anywhere else.
inline int runIsolatedBenchmarks(int argc, char** argv)
{
    QString reason;
    if (!insidePrivateNetwork(&reason)) {
        std::fprintf(stderr, "%s\n", qPrintable(reason));
        return 2;
    }
    return runBenchmarks(argc, argv);
}
