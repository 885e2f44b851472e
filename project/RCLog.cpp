#include "project/RCLog.h"

RCLog* RCLog::instance()
{
    static RCLog* log = new RCLog;
    return log;
}

RCLog::RCLog(QObject* parent) : IRCLog(parent) {}

void RCLog::output(const QString& sLog)
{
    Q_EMIT logWrite(sLog);
}
