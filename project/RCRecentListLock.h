#pragma once

#include <QCoreApplication>
#include <QLockFile>
#include <QString>

// One attempt at the lock file that instances on the same home take around a read-merge-write of
// the recent list. It never waits: the constructor tries once and the lock is held, if taken,
// until the object is destroyed. When it cannot be taken, state() tells whether another instance
// holds it (try again later) or whether the path can hold no lock at all (an error to report), and
// reason() says why, for the user.
//
// A path that is no lock file (a folder, a link, another program's file) is refused before
// QLockFile could take it for a stale lock and delete it: nothing there is removed that the
// program did not make. A lock whose process is gone is taken over (QLockFile's stale lock).
// Any thread; no state beyond the attempt.
class RCRecentListLock
{
    Q_DECLARE_TR_FUNCTIONS(RCRecentListLock)

public:
    enum class State { Locked, HeldElsewhere, Refused };

    explicit RCRecentListLock(const QString& lockPath);

    State state() const { return m_state; }
    // Why the lock is not ours ("" when it is): who holds it, or what is in its place.
    QString reason() const { return m_reason; }

private:
    // Why no lock file can be made at the path, found by making a file there as the lock does; ""
    // when one could be made after all (the attempt then counts as held, to be tried again).
    static QString whyNotMade(const QString& lockPath);

    QLockFile m_lock;
    State m_state = State::HeldElsewhere;
    QString m_reason;
};
