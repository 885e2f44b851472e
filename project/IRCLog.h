#pragma once

#include "model/IRCCppObject.h"

#include <QString>

// QML-facing log view feed: output() hands a text to whatever log view listens to
// logWrite. Independent of the log file (see RCLogFile).
class IRCLog : public IRCCppObject
{
    Q_OBJECT

public:
    explicit IRCLog(QObject* parent = nullptr);

    Q_INVOKABLE virtual void output(const QString& sLog);

Q_SIGNALS:
    void logWrite(const QString& sLog);
};
