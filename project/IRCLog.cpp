#include "project/IRCLog.h"

IRCLog::IRCLog(QObject* parent) : IRCCppObject(parent) {}

void IRCLog::output(const QString& sLog)
{
    Q_UNUSED(sLog);
}
