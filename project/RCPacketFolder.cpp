#include "project/RCPacketFolder.h"

#include "project/RCProjectJsonParser.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <optional>
#include <vector>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

// Where a file lives in the file system: its device and inode.
struct FileId
{
    quint64 device = 0;
    quint64 inode = 0;
    bool operator==(const FileId& other) const { return device == other.device && inode == other.inode; }
};

// The identity of an existing entry, links followed; false when it cannot be looked up, and on a
// system that does not tell (the paths are then compared resolved only).
bool fileIdOf(const QString& path, FileId* id)
{
#ifdef Q_OS_UNIX
    struct stat info;
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0)
        return false;
    id->device = quint64(info.st_dev);
    id->inode = quint64(info.st_ino);
    return true;
#else
    Q_UNUSED(path);
    Q_UNUSED(id);
    return false;
#endif
}

// A folder as paths are tested against it (RCPacketFolder::isInside): resolved, and its nearest
// existing folder by identity followed by the names below it (empty when none exists).
struct Place
{
    QString resolved;
    std::optional<FileId> base;
    QStringList rest;
};

Place placeOf(const QString& folder)
{
    Place place;
    place.resolved = RCPacketFolder::resolvedPath(folder);
    // Bounded by the path's depth.
    QString base = place.resolved;
    FileId id;
    while (!fileIdOf(base, &id)) {
        const QString parent = QFileInfo(base).path();
        if (parent == base)
            return place;
        place.rest.prepend(QFileInfo(base).fileName());
        base = parent;
    }
    place.base = id;
    return place;
}

// Whether a resolved path is one of the places or lies below one: by name, or, as a bind mount
// shows a folder under another path that no resolving reveals, by each existing folder on the
// path's way up compared as a file, followed by the names below it compared as names. One walk up
// the path's depth, each step looked up once for all places.
bool insideAny(const QString& inner, const std::vector<Place>& places)
{
    for (const Place& place : places) {
        const QString& outer = place.resolved;
        if (inner == outer ||
            inner.startsWith(outer.endsWith(QLatin1Char('/')) ? outer : outer + QLatin1Char('/')))
            return true;
    }
    QStringList innerRest;
    QString step = inner;
    while (true) {
        std::optional<FileId> id;
        bool looked = false;
        for (const Place& place : places) {
            if (!place.base || innerRest.size() < place.rest.size())
                continue;
            if (!looked) {
                FileId found;
                if (fileIdOf(step, &found))
                    id = found;
                looked = true;
            }
            if (id && *id == *place.base && innerRest.mid(0, place.rest.size()) == place.rest)
                return true;
        }
        const QString parent = QFileInfo(step).path();
        if (parent == step)
            return false;
        innerRest.prepend(QFileInfo(step).fileName());
        step = parent;
    }
}

} // namespace

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

bool RCPacketFolder::holdsProjectFile(const QString& path)
{
    const QFileInfo info(path);
    return !path.isEmpty() && info.isDir() && !info.isSymLink() && !projectFileOf(path).isEmpty();
}

bool RCPacketFolder::isProjectPacket(const QString& path)
{
    return holdsProjectFile(path) && readsAsProject(projectFileOf(path));
}

bool RCPacketFolder::readsAsProject(const QString& filePath)
{
    QFile file(filePath);
    if (filePath.isEmpty() || !QFileInfo(filePath).isFile() || !file.open(QIODevice::ReadOnly))
        return false;
    // A project file of the program's holds "sceneArray" at its start: its first block decides. A
    // file that does not answer there is read on in doubling blocks, each scan starting over, so
    // that all of it is read at most about twice.
    QByteArray text;
    qint64 block = 64 * 1024;
    // Bounded by the file's size: every round reads more of it or ends.
    while (true) {
        const QByteArray more = file.read(block);
        if (more.isEmpty() && !file.atEnd())
            return false;
        text += more;
        const std::optional<bool> answer = RCProjectJsonParser::holdsSceneArrayObject(text, file.atEnd());
        if (answer)
            return *answer;
        if (more.isEmpty())
            return false;
        block = text.size();
    }
}

bool RCPacketFolder::readsWholeAsProject(const QString& filePath)
{
    QFile file(filePath);
    if (filePath.isEmpty() || !QFileInfo(filePath).isFile() || !file.open(QIODevice::ReadOnly))
        return false;
    QJsonParseError error;
    const QJsonDocument document = RCProjectJsonParser::parse(file.readAll(), &error);
    return error.error == QJsonParseError::NoError && document.isObject() &&
           document.object().value(QStringLiteral("sceneArray")).isObject();
}

bool RCPacketFolder::isDamagedPacket(const QString& path)
{
    return holdsProjectFile(path) && !readsWholeAsProject(projectFileOf(path));
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
    return !a.isEmpty() && !b.isEmpty() && (resolvedPath(a) == resolvedPath(b) || sameFile(a, b));
}

bool RCPacketFolder::isInside(const QString& path, const QString& folder)
{
    if (path.isEmpty() || folder.isEmpty())
        return false;
    return insideAny(resolvedPath(path), {placeOf(folder)});
}

bool RCPacketFolder::sameFile(const QString& a, const QString& b)
{
    FileId ia;
    FileId ib;
    return fileIdOf(a, &ia) && fileIdOf(b, &ib) && ia == ib;
}

bool RCPacketFolder::savesInto(const QString& packetPath, const QString& folder)
{
    return savesInto(packetPath, QStringList{folder});
}

bool RCPacketFolder::savesInto(const QString& packetPath, const QStringList& folders)
{
    if (packetPath.isEmpty())
        return false;
    // Each folder and each entry is resolved and looked up once, whatever the number of folders.
    std::vector<Place> places;
    for (const QString& folder : folders) {
        if (!folder.isEmpty())
            places.push_back(placeOf(folder));
    }
    if (places.empty())
        return false;
    const QDir packet(packetPath);
    for (const QString& written : {packetPath, packet.filePath(QLatin1String(ProjectFileName)),
                                   packet.filePath(QLatin1String(ImageFolderName)),
                                   packet.filePath(QLatin1String(ThumbnailFileName))}) {
        if (insideAny(resolvedPath(written), places))
            return true;
    }
    return false;
}

bool RCPacketFolder::isNameTooLong(const QString& name)
{
    return name.toUtf8().size() > 255;
}
