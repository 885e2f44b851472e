#pragma once

#include "tests/support/IsolatedNetwork.h"

#include <QTemporaryDir>

#include <cstdio>

// For benchmarks that start the project root, whose control link broadcasts discovery probes:
// false, with the reason on stderr, outside a private network namespace; otherwise points HOME
// and XDG_CONFIG_HOME into home, so the run reads and writes no real settings or projects.
inline bool enterIsolatedHome(const QTemporaryDir& home)
{
    QString reason;
    if (!insidePrivateNetwork(&reason)) {
        std::fprintf(stderr, "%s\n", qPrintable(reason));
        return false;
    }
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/.config")).toLocal8Bit());
    return true;
}
