#pragma once

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

// What the stand-in peers share: their JSON-lines log and the start of their programs.

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

// The main() of a stand-in program once its options are read: opens the log (appended to the file
// at logPath, stdout when it is empty), starts the peer and runs the event loop. Exit code 2 when
// the log cannot be written, 1 when the peer cannot start (the reason on stderr).
template <typename Standin> int runStandin(QCoreApplication& app, Standin& standin, const QString& logPath)
{
    QFile logFile;
    if (!logPath.isEmpty()) {
        logFile.setFileName(logPath);
        if (!logFile.open(QIODevice::WriteOnly | QIODevice::Append)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(logFile.fileName()));
            return 2;
        }
    } else if (!logFile.open(stdout, QIODevice::WriteOnly)) {
        return 2;
    }
    standin.setLog(&logFile);
    QString error;
    if (!standin.start(&error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    return app.exec();
}
