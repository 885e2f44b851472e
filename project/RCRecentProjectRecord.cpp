#include "project/RCRecentProjectRecord.h"

#include "project/RCFileWrite.h"
#include "project/RCLogCategories.h"
#include "project/RCRecentListLock.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

#include <optional>

RCRecentProjectRecord* RCRecentProjectRecord::instance()
{
    static RCRecentProjectRecord* record = new RCRecentProjectRecord;
    return record;
}

RCRecentProjectRecord::RCRecentProjectRecord(QObject* parent) : QObject(parent)
{
    const QString home = QStandardPaths::writableLocation(QStandardPaths::HomeLocation);
    m_recordFilePath = home + QStringLiteral("/Tavix/recently.data");
    m_legacyDirPath = home + QStringLiteral("/Tavix/projectList");
    QDir().mkpath(QFileInfo(m_recordFilePath).absolutePath());
    m_retry.setInterval(RetryMs);
    connect(&m_retry, &QTimer::timeout, this, [this] { writePending(); });

    QStringList pieces;
    readPieces(&pieces);
    for (const QString& piece : std::as_const(pieces)) {
        if (canRecord(piece) && !m_stored.contains(piece))
            m_stored.append(piece);
    }
    m_pending.append({Change::Clean, QString()});
    m_dirPaths = withPending(m_stored);
    // The file is rewritten only when the clean-up changed the list.
    if (m_dirPaths == pieces) {
        m_pending.clear();
        m_dirPaths = m_stored;
    } else {
        writePending();
    }
    m_constructed = true;
}

bool RCRecentProjectRecord::isNonEmptyDir(const QString& path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    if (!info.isDir())
        return false;
    return !QDir(path).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty();
}

bool RCRecentProjectRecord::readPieces(QStringList* pieces) const
{
    QFile file(m_recordFilePath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QString text = QString::fromUtf8(file.readAll());
    file.close();

    // Only the line end that the writer adds is removed; white space inside paths is kept.
    while (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r')))
        text.chop(1);
    *pieces = text.split(QLatin1Char('>'), Qt::SkipEmptyParts);
    return true;
}

QStringList RCRecentProjectRecord::cleaned(const QStringList& list) const
{
    QStringList kept;
    for (const QString& path : list) {
        if (isNonEmptyDir(path))
            kept.append(path);
    }
    if (!isNonEmptyDir(m_legacyDirPath))
        return kept;
    const QFileInfoList subDirs =
        QDir(m_legacyDirPath).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Time);
    for (const QFileInfo& info : subDirs) {
        const QString path = m_legacyDirPath + QLatin1Char('/') + info.fileName();
        if (kept.contains(path) || !isNonEmptyDir(path))
            continue;
        qCDebug(lcRcRecentProject) << "Load legacy file path" << path;
        kept.append(path);
    }
    return kept;
}

QStringList RCRecentProjectRecord::withPending(QStringList list) const
{
    for (const Change& change : m_pending) {
        switch (change.kind) {
        case Change::Add:
            list.removeAll(change.path);
            list.prepend(change.path);
            break;
        case Change::Remove:
            list.removeAll(change.path);
            break;
        case Change::Clean:
            list = cleaned(list);
            break;
        }
    }
    list.removeDuplicates();
    if (list.size() > MaxEntries)
        list.erase(list.begin() + MaxEntries, list.end());
    return list;
}

void RCRecentProjectRecord::refresh()
{
    QStringList pieces;
    if (!readPieces(&pieces))
        return;
    m_stored.clear();
    for (const QString& piece : std::as_const(pieces)) {
        if (canRecord(piece) && !m_stored.contains(piece))
            m_stored.append(piece);
    }
    m_dirPaths = m_pending.isEmpty() ? m_stored : withPending(m_stored);
}

bool RCRecentProjectRecord::canRecord(const QString& path)
{
    return !path.isEmpty() && !path.contains(QLatin1Char('>')) && !path.contains(QLatin1Char('\n')) &&
           !path.contains(QLatin1Char('\r'));
}

void RCRecentProjectRecord::note(const Change& change)
{
    m_pending.append(change);
    m_dirPaths = withPending(m_stored);
}

void RCRecentProjectRecord::addDirPath(const QString& path)
{
    if (!canRecord(path)) {
        qCWarning(lcRcRecentProject) << "RCRecentProjectRecord::addDirPath"
                                     << "path cannot be recorded" << path;
        return;
    }
    refresh();
    const qsizetype index = m_dirPaths.indexOf(path);
    // Already first: the list stays; a change of ours still unwritten is tried again.
    if (index == 0) {
        writePending();
        return;
    }
    note({Change::Add, path});
    if (index < 0)
        Q_EMIT dirPathAdded(path);
    writePending();
    if (index > 0)
        Q_EMIT dirPathMoved(path, 0);
}

void RCRecentProjectRecord::removeDirPath(const QString& path)
{
    refresh();
    if (!m_dirPaths.contains(path)) {
        writePending();
        return;
    }
    note({Change::Remove, path});
    Q_EMIT dirPathRemoved(path);
    writePending();
}

bool RCRecentProjectRecord::writePending(int waitMs)
{
    if (m_pending.isEmpty())
        return true;
    const QDeadlineTimer deadline(waitMs);
    std::optional<RCRecentListLock> lock;
    for (;;) {
        lock.emplace(lockFilePath());
        if (lock->state() != RCRecentListLock::State::HeldElsewhere || deadline.hasExpired())
            break;
        lock.reset();
        QThread::msleep(20);
    }
    if (lock->state() == RCRecentListLock::State::Refused) {
        m_retry.stop();
        m_heldSince.invalidate();
        failed(lock->reason());
        return false;
    }
    if (lock->state() == RCRecentListLock::State::HeldElsewhere) {
        // Held for a moment is how instances take turns; held this long is worth saying.
        if (!m_heldSince.isValid())
            m_heldSince.start();
        else if (m_heldSince.hasExpired(TellAfterMs))
            failed(lock->reason() + tr("，列表将在它放开后写入"));
        if (!m_retry.isActive())
            m_retry.start();
        return false;
    }
    m_retry.stop();
    m_heldSince.invalidate();
    // What other instances wrote meanwhile, with our changes on top.
    refresh();
    if (m_dirPaths != m_stored) {
        QString text;
        for (const QString& path : std::as_const(m_dirPaths))
            text += path + QLatin1Char('>');
        text += QLatin1Char('\n');
        QString reason;
        if (!RCFileWrite::write(m_recordFilePath, text.toUtf8(), &reason)) {
            failed(reason);
            return false;
        }
    }
    m_stored = m_dirPaths;
    m_pending.clear();
    m_told.clear();
    return true;
}

void RCRecentProjectRecord::failed(const QString& reason)
{
    if (reason == m_told)
        return;
    qCWarning(lcRcRecentProject) << "RCRecentProjectRecord: not written," << reason << m_recordFilePath;
    m_told = reason;
    // A failure at construction reaches whoever connects to the record right after it.
    if (m_constructed)
        Q_EMIT saveFailed(reason);
    else
        QMetaObject::invokeMethod(this, [this, reason] { Q_EMIT saveFailed(reason); }, Qt::QueuedConnection);
}
