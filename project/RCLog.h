#pragma once

#include "project/IRCLog.h"

// The process-wide IRCLog, published to QML as "rcLog". Lives until the process ends;
// GUI thread only.
class RCLog : public IRCLog
{
    Q_OBJECT

public:
    static RCLog* instance();

    explicit RCLog(QObject* parent = nullptr);

    // Emits logWrite with the same text; writes nothing to the log file.
    Q_INVOKABLE void output(const QString& sLog) override;
};
