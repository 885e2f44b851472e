#pragma once

#include <QSignalSpy>

// Waits for the first emission of spy, including one that already happened.
inline bool waitForFirst(QSignalSpy& spy, int ms = 6000)
{
    return !spy.isEmpty() || spy.wait(ms);
}

// Whether the progress fractions in argument `arg` of spy's emissions never fall and end at 1.
inline bool progressRisesToOne(const QSignalSpy& spy, int arg)
{
    double last = 0;
    for (const QList<QVariant>& args : spy) {
        if (args.at(arg).toDouble() < last)
            return false;
        last = args.at(arg).toDouble();
    }
    return last == 1.0;
}
