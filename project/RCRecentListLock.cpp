#include "project/RCRecentListLock.h"

#include "project/RCFileWrite.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
// QLockFile writes its file right after making it; a file older than this that names no process is
// no lock file.
constexpr qint64 kBeingMadeMs = 5000;
} // namespace

RCRecentListLock::RCRecentListLock(const QString& lockPath) : m_lock(lockPath)
{
    const QString shown = QDir::toNativeSeparators(lockPath);
    const QFileInfo info(lockPath);
    if (info.isSymLink() || (info.exists() && !info.isFile())) {
        m_state = State::Refused;
        m_reason = info.isDir() && !info.isSymLink() ? tr("%1 是一个文件夹，不是锁文件").arg(shown)
                                                     : tr("%1 不是锁文件").arg(shown);
        return;
    }
    qint64 pid = 0;
    QString host;
    QString application;
    if (info.isFile() && !m_lock.getLockInfo(&pid, &host, &application) &&
        info.lastModified().msecsTo(QDateTime::currentDateTime()) > kBeingMadeMs) {
        m_state = State::Refused;
        m_reason = tr("%1 不是锁文件").arg(shown);
        return;
    }
    if (m_lock.tryLock(0)) {
        m_state = State::Locked;
        return;
    }
    if (m_lock.error() != QLockFile::LockFailedError)
        m_reason = whyNotMade(lockPath);
    if (!m_reason.isEmpty()) {
        m_state = State::Refused;
        return;
    }
    m_state = State::HeldElsewhere;
    m_reason = m_lock.getLockInfo(&pid, &host, &application)
                   ? tr("另一个程序（进程 %1）正占用 %2").arg(pid).arg(shown)
                   : tr("另一个程序正占用 %1").arg(shown);
}

QString RCRecentListLock::whyNotMade(const QString& lockPath)
{
    QFile probe(lockPath);
    if (!probe.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
        return QFileInfo::exists(lockPath) ? QString() : RCFileWrite::failureText(lockPath, probe);
    const QByteArray line("0\n");
    const QString why = probe.write(line) == line.size() ? QString() : RCFileWrite::failureText(lockPath, probe);
    probe.close();
    probe.remove();
    return why;
}
