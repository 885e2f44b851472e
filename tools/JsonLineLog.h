#pragma once

#include <QDateTime>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

// Writes one log line of a stand-in peer: the object with its UTC "time" added, as compact JSON
// and a newline, flushed at once so that a reader of the file or pipe sees it. Nothing without a
// device.
inline void writeJsonLine(QIODevice* log, QJsonObject line)
{
    if (!log)
        return;
    line.insert(QStringLiteral("time"), QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs));
    log->write(QJsonDocument(line).toJson(QJsonDocument::Compact) + '\n');
    if (auto* file = qobject_cast<QFile*>(log))
        file->flush();
}
