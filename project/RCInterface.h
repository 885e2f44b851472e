#pragma once

#include "project/IRCInterface.h"

// The process-wide IRCInterface ("getRCInterface"). GUI thread only.
class RCInterface : public IRCInterface
{
    Q_OBJECT

public:
    static RCInterface* instance();

    explicit RCInterface(QObject* parent = nullptr);

    // "hh:mm:ss", hours as many digits as needed (at least two), so a duration of a day
    // or more keeps its whole days; a negative duration gets a leading "-". Milliseconds are
    // dropped, not rounded.
    Q_INVOKABLE QString msecToString(int msec) override;
};
