#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QThread>

// The threads of this process as the kernel lists them. A thread whose QThread::wait() has
// returned can stay listed for a moment while it exits: compare with QTRY_* or take a baseline
// with settledThreads().
inline int runningThreads()
{
    return int(QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
}

// The thread count once it has stayed the same for 50 ms (at most about 2 s of waiting).
inline int settledThreads()
{
    int count = runningThreads();
    for (int i = 0; i < 40; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(50);
        const int now = runningThreads();
        if (now == count)
            break;
        count = now;
    }
    return count;
}
