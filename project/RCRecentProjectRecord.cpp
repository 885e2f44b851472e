#include "project/RCRecentProjectRecord.h"

#include "project/RCFileWrite.h"
#include "project/RCLogCategories.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

#include <algorithm>

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
    update([this] {
        const bool dropped = load();
        return importLegacyFolders() || dropped;
    });
}

void RCRecentProjectRecord::update(const std::function<bool()>& change)
{
    QLockFile lock(m_recordFilePath + QStringLiteral(".lock"));
    const bool locked = lock.tryLock(LockWaitMs);
    if (!change())
        return;
    if (locked) {
        save();
        return;
    }
    trim();
    m_unsaved = true;
    qCWarning(lcRcRecentProject) << "RCRecentProjectRecord: record file locked by another instance for"
                                 << LockWaitMs << "ms, left as it is; the change is written with the next one"
                                 << m_recordFilePath << "lock error" << lock.error();
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

void RCRecentProjectRecord::refresh()
{
    QStringList pieces;
    if (!readPieces(&pieces))
        return;
    QStringList merged;
    for (const QString& piece : std::as_const(pieces)) {
        if (canRecord(piece) && !merged.contains(piece))
            merged.append(piece);
    }
    // Since every change of ours is written at once, an entry that only we hold was removed by
    // another instance, unless our last write failed: then it is a change of ours still to write.
    if (m_unsaved) {
        for (qsizetype i = 0; i < m_dirPaths.size(); ++i) {
            if (!merged.contains(m_dirPaths.at(i)))
                merged.insert(std::min(i, merged.size()), m_dirPaths.at(i));
        }
    }
    m_dirPaths = merged;
}

bool RCRecentProjectRecord::load()
{
    QStringList pieces;
    if (!readPieces(&pieces))
        return false;

    bool dropped = false;
    for (const QString& piece : pieces) {
        if (isNonEmptyDir(piece) && !m_dirPaths.contains(piece))
            m_dirPaths.append(piece);
        else
            dropped = true;
    }
    return dropped || pieces.size() > MaxEntries;
}

bool RCRecentProjectRecord::importLegacyFolders()
{
    if (!isNonEmptyDir(m_legacyDirPath))
        return false;
    const QFileInfoList subDirs =
        QDir(m_legacyDirPath).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Time);
    bool appended = false;
    for (const QFileInfo& info : subDirs) {
        const QString path = m_legacyDirPath + QLatin1Char('/') + info.fileName();
        if (m_dirPaths.contains(path) || !isNonEmptyDir(path))
            continue;
        qCDebug(lcRcRecentProject) << "Load legacy file path" << path;
        m_dirPaths.append(path);
        appended = true;
    }
    return appended;
}

bool RCRecentProjectRecord::canRecord(const QString& path)
{
    return !path.isEmpty() && !path.contains(QLatin1Char('>')) && !path.contains(QLatin1Char('\n')) &&
           !path.contains(QLatin1Char('\r'));
}

void RCRecentProjectRecord::addDirPath(const QString& path)
{
    if (!canRecord(path)) {
        qCWarning(lcRcRecentProject) << "RCRecentProjectRecord::addDirPath"
                                     << "path cannot be recorded" << path;
        return;
    }
    // Another instance on the same home may have changed the file since: its entries stay.
    bool moved = false;
    update([&] {
        refresh();
        const int index = m_dirPaths.indexOf(path);
        if (index == 0)
            return false;
        if (index < 0) {
            m_dirPaths.prepend(path);
            Q_EMIT dirPathAdded(path);
            return true;
        }
        m_dirPaths.move(index, 0);
        moved = true;
        return true;
    });
    if (moved)
        Q_EMIT dirPathMoved(path, 0);
}

void RCRecentProjectRecord::removeDirPath(const QString& path)
{
    update([&] {
        refresh();
        if (!m_dirPaths.contains(path))
            return false;
        m_dirPaths.removeAll(path);
        Q_EMIT dirPathRemoved(path);
        return true;
    });
}

void RCRecentProjectRecord::trim()
{
    m_dirPaths.removeDuplicates();
    if (m_dirPaths.size() > MaxEntries)
        m_dirPaths.erase(m_dirPaths.begin() + MaxEntries, m_dirPaths.end());
}

void RCRecentProjectRecord::save()
{
    trim();

    QString text;
    for (const QString& path : std::as_const(m_dirPaths))
        text += path + QLatin1Char('>');
    text += QLatin1Char('\n');

    QString reason;
    m_unsaved = !RCFileWrite::write(m_recordFilePath, text.toUtf8(), &reason);
    if (m_unsaved) {
        qCWarning(lcRcRecentProject) << "RCRecentProjectRecord::save"
                                     << "write failed" << m_recordFilePath << reason;
        Q_EMIT saveFailed(reason);
    }
}
