#include "project/RCInterface.h"

RCInterface* RCInterface::instance()
{
    static RCInterface* object = new RCInterface;
    return object;
}

RCInterface::RCInterface(QObject* parent)
    : IRCInterface(parent)
{
}

QString RCInterface::msecToString(int msec)
{
    qint64 total = msec;
    const bool negative = total < 0;
    if (negative)
        total = -total;
    const qint64 seconds = total / 1000;
    const QString text = QStringLiteral("%1:%2:%3")
                             .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
                             .arg((seconds / 60) % 60, 2, 10, QLatin1Char('0'))
                             .arg(seconds % 60, 2, 10, QLatin1Char('0'));
    return negative && seconds > 0 ? QLatin1Char('-') + text : text;
}
