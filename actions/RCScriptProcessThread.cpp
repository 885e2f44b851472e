#include "actions/RCScriptProcessThread.h"

#include <QDeadlineTimer>
#include <QDebug>
#include <QMutexLocker>
#include <QRegularExpression>
#include <QThread>

namespace {
const QString kExecute = QStringLiteral("执行");
const QString kWait = QStringLiteral("等待");
} // namespace

RCScriptProcessThread::RCScriptProcessThread() : m_thread(new QThread)
{
    m_thread->setObjectName(QStringLiteral("scriptProcess"));
    moveToThread(m_thread);
    connect(this, &RCScriptProcessThread::sig_excute, this, &RCScriptProcessThread::on_sig_excute);
    m_thread->start(QThread::InheritPriority);
}

RCScriptProcessThread::~RCScriptProcessThread()
{
    stop();
    delete m_thread;
}

void RCScriptProcessThread::stop()
{
    {
        QMutexLocker lock(&m_mutex);
        m_stopping = true;
        m_wake.wakeAll();
    }
    m_thread->quit();
    m_thread->wait();
}

bool RCScriptProcessThread::isStopping()
{
    QMutexLocker lock(&m_mutex);
    return m_stopping;
}

bool RCScriptProcessThread::sleepFor(qint64 ms)
{
    const QDeadlineTimer deadline(ms, Qt::PreciseTimer);
    QMutexLocker lock(&m_mutex);
    while (!m_stopping && m_wake.wait(&m_mutex, deadline)) {
    }
    return !m_stopping;
}

qint64 RCScriptProcessThread::waitMilliseconds(const QString& argument)
{
    static const QRegularExpression kNumber(QStringLiteral("^[+-]?[0-9]+$"));
    if (!kNumber.match(argument).hasMatch())
        return 0;
    bool ok = false;
    qint64 ms = argument.toLongLong(&ok, 10);
    if (!ok) // more digits than 64 bits hold
        ms = argument.startsWith(QLatin1Char('-')) ? -1 : kMaxWaitMs + 1;
    if (ms < 0) {
        qWarning() << "Script wait ignored, negative:" << argument;
        return -1;
    }
    if (ms > kMaxWaitMs) {
        qWarning() << "Script wait cut to" << kMaxWaitMs << "ms:" << argument;
        return kMaxWaitMs;
    }
    return ms;
}

void RCScriptProcessThread::on_sig_excute(const QString& script)
{
    if (isStopping())
        return;
    Q_EMIT busyingChanged(true);
    QString text = script;
    text.replace(QStringLiteral("；"), QStringLiteral(";"))
        .replace(QStringLiteral("（"), QStringLiteral("("))
        .replace(QStringLiteral("）"), QStringLiteral(")"))
        .replace(QStringLiteral("，"), QStringLiteral(","))
        .remove(QLatin1Char('\n'))
        .remove(QLatin1Char('\t'))
        .remove(QLatin1Char(' '));
    const QStringList statements = text.split(QLatin1Char(';'));
    for (const QString& statement : statements) {
        if (isStopping())
            break;
        const QStringList parts = statement.split(QLatin1Char('('));
        if (parts.size() != 2)
            continue;
        const QString keyword = parts.at(0);
        const QString arguments = QString(parts.at(1)).remove(QLatin1Char(')'));
        if (keyword == kExecute) {
            const QStringList names = arguments.split(QLatin1Char(','));
            if (names.size() == 2)
                Q_EMIT sceneItemExcute(names.at(0), names.at(1));
        } else if (keyword == kWait) {
            const qint64 ms = waitMilliseconds(arguments);
            if (ms > 0 && !sleepFor(ms))
                break;
        }
    }
    Q_EMIT busyingChanged(false);
}
