#include "project/RCLogFile.h"

#include <QDir>
#include <QFile>
#include <QMutex>
#include <QMutexLocker>
#include <QStandardPaths>
#include <QThread>

#include <cerrno>
#include <cstdio>

#if defined(Q_OS_LINUX)
#include <sys/syscall.h>
#include <unistd.h>
#elif defined(Q_OS_WIN)
#include <qt_windows.h>
#endif

namespace {

struct LogState
{
    QMutex lock;
    QFile* file = nullptr;
    QtMessageHandler previousHandler = nullptr;
    // The handler writes the terminal's line itself, in place of the framework's handler it
    // replaced (see terminalIsOurs()).
    bool writesTerminal = false;
    bool installed = false;
    // The time text of the second the last line was written in, and that second.
    qint64 timeSecond = -1;
    QByteArray timeText;
};

LogState& logState()
{
    // Never destroyed: messages may still arrive from static destructors at exit.
    static LogState* state = new LogState;
    return *state;
}

// Writes line, which ends in its "\n".
void writeLocked(LogState& state, const QByteArray& line)
{
    if (!state.file)
        return;
    // A line the disk could not take whole ends the file: later lines would follow a cut one. The
    // messages still reach the previous handler (the terminal).
    if (state.file->write(line) != line.size() || !state.file->flush()) {
        state.file->close();
        delete state.file;
        state.file = nullptr;
    }
}

// Writes all of line to the terminal (standard error); what it cannot take is dropped.
void writeTerminal(const QByteArray& line)
{
#if defined(Q_OS_LINUX)
    const char* data = line.constData();
    qsizetype left = line.size();
    while (left > 0) {
        const ssize_t written = ::write(STDERR_FILENO, data, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return;
        data += written;
        left -= written;
    }
#else
    Q_UNUSED(line);
#endif
}

// Whether the handler may write the terminal's line itself instead of calling previous, the
// handler it replaces. That holds where previous is the framework's own handler and all it would
// do is format the line with the process's pattern and write it to standard error: on Linux, with
// no pattern of the environment's for the terminal. The line is then the file's line, made once;
// the framework's formatter turns the clock into local time anew for every line, which a selection
// of thousands of items pays for thousands of times.
bool terminalIsOurs(QtMessageHandler previous, QtMessageHandler framework)
{
#if defined(Q_OS_LINUX) && !defined(Q_OS_ANDROID)
    return previous == framework && qEnvironmentVariableIsEmpty("QT_MESSAGE_PATTERN");
#else
    Q_UNUSED(previous);
    Q_UNUSED(framework);
    return false;
#endif
}

// The system-wide id of the calling thread as text, as the message pattern's "%{threadid}" gives
// it. Made once per thread and kept in plain characters: lines may still be logged on a thread
// after its other thread-local objects are gone (static destructors at exit).
struct ThreadIdText
{
    char text[24];
    int size = 0;
};

const ThreadIdText& threadIdText()
{
    thread_local ThreadIdText id;
    if (id.size == 0) {
#if defined(Q_OS_LINUX)
        const quint64 value = quint64(syscall(SYS_gettid));
#elif defined(Q_OS_WIN)
        const quint64 value = quint64(GetCurrentThreadId());
#else
        const quint64 value = quint64(quintptr(QThread::currentThreadId()));
#endif
        id.size = std::snprintf(id.text, sizeof id.text, "%llu", static_cast<unsigned long long>(value));
    }
    return id;
}

const char* typeName(QtMsgType type)
{
    switch (type) {
    case QtDebugMsg:
        return "debug";
    case QtInfoMsg:
        return "info";
    case QtWarningMsg:
        return "warning";
    case QtCriticalMsg:
        return "critical";
    case QtFatalMsg:
        return "fatal";
    }
    return "";
}

// The time text of now, as "%{time}" gives it (local time, ISO 8601, whole seconds). Turning the
// clock into local time and text costs more than the rest of a line together, and a selection of
// every item logs a line per item at once, so the text is made once per second. Called with the
// log lock held.
const QByteArray& timeTextLocked(LogState& state)
{
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    const qint64 second = now >= 0 ? now / 1000 : (now - 999) / 1000;
    if (second != state.timeSecond) {
        state.timeSecond = second;
        state.timeText = QDateTime::fromMSecsSinceEpoch(second * 1000).toString(Qt::ISODate).toLatin1();
    }
    return state.timeText;
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
    QMutexLocker locker(&state.lock);
    if (state.installed)
        return;
    state.installed = true;
    state.file = createLogFile(logDirPath(), QDateTime::currentDateTime());
    qSetMessagePattern(QString::fromLatin1(MessagePattern));
    // Installing none puts the framework's handler back and returns the one installed; installing
    // that again returns the framework's.
    const QtMessageHandler previous = qInstallMessageHandler(nullptr);
    const QtMessageHandler framework = qInstallMessageHandler(previous);
    state.previousHandler = previous;
    state.writesTerminal = terminalIsOurs(previous, framework);
    // Runs before any other thread logs: nothing can reach the handler before the state is set.
    qInstallMessageHandler(&RCLogFile::logMessageHandler);
}

void RCLogFile::logMessageHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    LogState& state = logState();
    // The file's lines keep the process's pattern (MessagePattern), formatted here.
    const QByteArray text = message.toUtf8();
    const ThreadIdText& threadText = threadIdText();
    const char* category = context.category ? context.category : "";
    {
        QMutexLocker locker(&state.lock);
        const QByteArray& time = timeTextLocked(state);
        QByteArray line;
        line.reserve(time.size() + text.size() + qsizetype(qstrlen(category)) + threadText.size + 20);
        line.append(time).append('[').append(typeName(type)).append("][");
        line.append(threadText.text, threadText.size).append(']');
        line.append(category).append(": ").append(text).append('\n');
        writeLocked(state, line);
        if (state.writesTerminal) {
            writeTerminal(line);
            return;
        }
    }
    if (state.previousHandler)
        state.previousHandler(type, context, message);
}

void RCLogFile::writeLine(const QString& line)
{
    LogState& state = logState();
    QMutexLocker locker(&state.lock);
    writeLocked(state, line.toUtf8() + '\n');
}

QString RCLogFile::logFilePath()
{
    LogState& state = logState();
    QMutexLocker locker(&state.lock);
    return state.file ? state.file->fileName() : QString();
}
