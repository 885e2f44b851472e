#include "project/RCLogFile.h"

#include <QDir>
#include <QFile>
#include <QMutex>
#include <QMutexLocker>
#include <QStandardPaths>

namespace {

struct LogState
{
    QMutex lock;
    QFile* file = nullptr;
    QtMessageHandler previousHandler = nullptr;
    bool installed = false;
};

LogState& logState()
{
    // Never destroyed: messages may still arrive from static destructors at exit.
    static LogState* state = new LogState;
    return *state;
}

void writeLocked(LogState& state, const QByteArray& utf8Line)
{
    if (!state.file)
        return;
    const QByteArray line = utf8Line + '\n';
    // A line the disk could not take whole ends the file: later lines would follow a cut one. The
    // messages still reach the previous handler (the terminal).
    if (state.file->write(line) != line.size() || !state.file->flush()) {
        state.file->close();
        delete state.file;
        state.file = nullptr;
    }
}

} // namespace

QString RCLogFile::logDirPath()
{
    return QStringLiteral("%1/%2/%3")
        .arg(QStandardPaths::writableLocation(QStandardPaths::HomeLocation), QStringLiteral("Tavix"),
             QStringLiteral("Log"));
}

QFile* RCLogFile::createLogFile(const QString& dirPath, const QDateTime& startTime)
{
    if (!QDir().mkpath(dirPath))
        return nullptr;
    const QString stem = startTime.toString(QStringLiteral("yyyy-MM-dd hh-mm-ss"));
    // Bounded: a hundred starts within one second is far beyond any real use.
    for (int n = 1; n <= 100; ++n) {
        const QString name =
            n == 1 ? QStringLiteral("%1.log").arg(stem) : QStringLiteral("%1 (%2).log").arg(stem).arg(n);
        auto* file = new QFile(QDir(dirPath).filePath(name));
        // NewOnly fails when the file exists, so two processes never share one name.
        if (file->open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return file;
        const bool exists = file->exists();
        delete file;
        if (!exists)
            return nullptr;
    }
    return nullptr;
}

void RCLogFile::initLogFile()
{
    LogState& state = logState();
    {
        QMutexLocker locker(&state.lock);
        if (state.installed)
            return;
        state.installed = true;
        state.file = createLogFile(logDirPath(), QDateTime::currentDateTime());
    }
    qSetMessagePattern(QString::fromLatin1(MessagePattern));
    state.previousHandler = qInstallMessageHandler(&RCLogFile::logMessageHandler);
}

void RCLogFile::logMessageHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    LogState& state = logState();
    const QByteArray line = qFormatLogMessage(type, context, message).toUtf8();
    {
        QMutexLocker locker(&state.lock);
        writeLocked(state, line);
    }
    if (state.previousHandler)
        state.previousHandler(type, context, message);
}

void RCLogFile::writeLine(const QString& line)
{
    LogState& state = logState();
    QMutexLocker locker(&state.lock);
    writeLocked(state, line.toUtf8());
}

QString RCLogFile::logFilePath()
{
    LogState& state = logState();
    QMutexLocker locker(&state.lock);
    return state.file ? state.file->fileName() : QString();
}
