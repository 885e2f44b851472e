#include "project/RCPacketFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

bool RCPacketFolder::removeDirectory(const QString& path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo folder(path);
    if (!folder.isDir() || folder.isSymLink())
        return false;
    QDir dir(path);
    const QFileInfoList entries = dir.entryInfoList(
        QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Unsorted);
    bool ok = true;
    for (auto it = entries.crbegin(); it != entries.crend(); ++it) {
        const QFileInfo& entry = *it;
        if (entry.isDir() && !entry.isSymLink()) {
            removeDirectory(entry.absoluteFilePath());
            dir.rmdir(entry.fileName());
        } else if (!QFile::remove(entry.absoluteFilePath())) {
            ok = false;
        }
    }
    return ok;
}

bool RCPacketFolder::removePacket(const QString& path)
{
    const QFileInfo folder(path);
    if (path.isEmpty() || !folder.isDir() || folder.isSymLink())
        return false;
    QDir dir(path);
    bool ok = true;
    for (const char* name : {ProjectFileName, OldProjectFileName, ThumbnailFileName}) {
        const QFileInfo file(dir.filePath(QString::fromLatin1(name)));
        if ((file.exists() || file.isSymLink()) && !QFile::remove(file.filePath()))
            ok = false;
    }
    const QString imageName = QString::fromLatin1(ImageFolderName);
    const QFileInfo images(dir.filePath(imageName));
    if (images.isSymLink()) {
        ok = QFile::remove(images.filePath()) && ok;
    } else if (images.isDir()) {
        removeDirectory(images.filePath());
        ok = dir.rmdir(imageName) && ok;
    }
    if (ok && dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System).isEmpty())
        QDir(folder.absolutePath()).rmdir(folder.fileName());
    return ok;
}

bool RCPacketFolder::hasEntries(const QString& path)
{
    if (path.isEmpty() || !QFileInfo(path).isDir())
        return false;
    return !QDir(path).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty();
}

QString RCPacketFolder::projectFileOf(const QString& packetPath)
{
    if (packetPath.isEmpty())
        return QString();
    const QDir dir(packetPath);
    for (const char* name : {ProjectFileName, OldProjectFileName}) {
        const QString file = dir.absoluteFilePath(QString::fromLatin1(name));
        if (QFileInfo(file).isFile())
            return file;
    }
    return QString();
}

bool RCPacketFolder::isProjectPacket(const QString& path)
{
    const QFileInfo info(path);
    return !path.isEmpty() && info.isDir() && !info.isSymLink() && !projectFileOf(path).isEmpty();
}

bool RCPacketFolder::isValidPacketName(const QString& name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..") ||
        name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')))
        return false;
    return std::none_of(name.cbegin(), name.cend(),
                        [](QChar c) { return c.category() == QChar::Other_Control; });
}

namespace {

bool isReservedInName(QChar c)
{
    return c.category() == QChar::Other_Control || QStringView(u"<>:\"|?*/\\").contains(c);
}

} // namespace

bool RCPacketFolder::isValidProjectName(const QString& name)
{
    if (!isValidPacketName(name) || name != name.trimmed() || name.startsWith(QLatin1Char('.')) ||
        name.endsWith(QLatin1Char('.')))
        return false;
    return std::none_of(name.cbegin(), name.cend(), isReservedInName);
}

QString RCPacketFolder::safeProjectName(const QString& name)
{
    QString safe = name;
    for (QChar& c : safe) {
        if (isReservedInName(c))
            c = QLatin1Char('_');
    }
    qsizetype begin = 0;
    qsizetype end = safe.size();
    auto trimmed = [](QChar c) { return c.isSpace() || c == QLatin1Char('.'); };
    while (begin < end && trimmed(safe.at(begin)))
        ++begin;
    while (end > begin && trimmed(safe.at(end - 1)))
        --end;
    safe = safe.mid(begin, end - begin);
    return isValidProjectName(safe) ? safe : QString();
}

bool RCPacketFolder::holdsPacketFiles(const QString& path)
{
    if (path.isEmpty() || !QFileInfo(path).isDir())
        return false;
    const QDir dir(path);
    for (const char* name : {ProjectFileName, OldProjectFileName, ThumbnailFileName}) {
        const QFileInfo entry(dir.filePath(QString::fromLatin1(name)));
        if (entry.exists() || entry.isSymLink())
            return true;
    }
    return false;
}

bool RCPacketFolder::holdsOnlyPacket(const QString& path)
{
    if (!isProjectPacket(path))
        return false;
    const QStringList own{QString::fromLatin1(ProjectFileName), QString::fromLatin1(OldProjectFileName),
                          QString::fromLatin1(ImageFolderName), QString::fromLatin1(ThumbnailFileName)};
    const QStringList entries =
        QDir(path).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    return std::all_of(entries.cbegin(), entries.cend(),
                       [&own](const QString& entry) { return own.contains(entry); });
}

QString RCPacketFolder::folderName(const QString& path)
{
    return QFileInfo(QDir::cleanPath(path)).fileName();
}

QString RCPacketFolder::resolvedPath(const QString& path)
{
    if (path.isEmpty())
        return QString();
    QString existing = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    QStringList rest;
    // Bounded by the path's depth: each step drops one component.
    while (true) {
        const QString canonical = QFileInfo(existing).canonicalFilePath();
        if (!canonical.isEmpty()) {
            existing = canonical;
            break;
        }
        const QString parent = QFileInfo(existing).path();
        if (parent == existing)
            break;
        rest.prepend(QFileInfo(existing).fileName());
        existing = parent;
    }
    if (rest.isEmpty())
        return existing;
    return QDir::cleanPath(existing + QLatin1Char('/') + rest.join(QLatin1Char('/')));
}

bool RCPacketFolder::samePath(const QString& a, const QString& b)
{
    return !a.isEmpty() && !b.isEmpty() && resolvedPath(a) == resolvedPath(b);
}

bool RCPacketFolder::isInside(const QString& path, const QString& folder)
{
    if (path.isEmpty() || folder.isEmpty())
        return false;
    const QString inner = resolvedPath(path);
    const QString outer = resolvedPath(folder);
    return inner == outer ||
           inner.startsWith(outer.endsWith(QLatin1Char('/')) ? outer : outer + QLatin1Char('/'));
}

bool RCPacketFolder::isNameTooLong(const QString& name)
{
    return name.toUtf8().size() > 255;
}
