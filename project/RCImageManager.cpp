#include "project/RCImageManager.h"

#include "editing/RCSceneItemPresenter.h"
#include "editing/RCScenePresenter.h"
#include "model/RCKeys.h"
#include "project/RCFileWrite.h"
#include "project/RCPacketFolder.h"

#include <QDebug>
#include <QDir>
#include <QJsonArray>
#include <QJsonObject>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

#include <algorithm>

namespace {

const QLatin1String kFileScheme("file:");
const QLatin1String kQrcScheme("qrc:");

bool isFileValue(const QString& value)
{
    return value.contains(kFileScheme);
}

bool isQrcValue(const QString& value)
{
    return value.contains(kQrcScheme);
}

QString cleanAbsolute(const QString& path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

} // namespace

RCImageManager::RCImageManager(QObject* parent) : QObject(parent) {}

void RCImageManager::setProjectImagePath(const QString& path)
{
    if (path == m_imageFolder)
        return;
    m_imageFolder = path;
    Q_EMIT resolutionChanged();
}

void RCImageManager::setResolution(const QString& folder, bool isQrc, const QString& qrcFolder)
{
    if (folder == m_imageFolder && isQrc == m_isQrc && qrcFolder == m_qrcImageFolder)
        return;
    m_imageFolder = folder;
    m_isQrc = isQrc;
    m_qrcImageFolder = qrcFolder;
    Q_EMIT resolutionChanged();
}

QString RCImageManager::referenceName(const QString& value)
{
    const QString prefix = QString::fromLatin1(ReferencePrefix);
    if (!value.startsWith(prefix))
        return QString();
    const QString name = value.mid(prefix.size());
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..") ||
        name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) ||
        std::any_of(name.cbegin(), name.cend(), [](QChar c) { return c.category() == QChar::Other_Control; }))
        return QString();
    return name;
}

QString RCImageManager::pathTransformation(const QString& sPath) const
{
    if (isFileValue(sPath) || isQrcValue(sPath))
        return sPath;
    if (!sPath.startsWith(QLatin1String(ReferencePrefix)))
        return sPath;

    const QString name = referenceName(sPath);
    if (name.isEmpty())
        return QString();
    if (m_isQrc) {
        QUrl folder(m_qrcImageFolder);
        if (m_qrcImageFolder.isEmpty() || !folder.isValid())
            return QString();
        QUrl url = folder;
        url.setPath(folder.path() + QLatin1Char('/') + name);
        return url.toString();
    }
    if (m_imageFolder.isEmpty())
        return QString();
    return QUrl::fromLocalFile(m_imageFolder + QLatin1Char('/') + name).toString();
}

QString RCImageManager::fileUrlToLocalPath(const QString& value)
{
    const QString urlText = value.mid(value.indexOf(kFileScheme));
    const QUrl url(urlText, QUrl::TolerantMode);
    if (url.isValid() && !url.hasFragment() && !url.hasQuery())
        return url.toLocalFile().isEmpty() ? url.path() : url.toLocalFile();

    // "file:" glued to a raw path holding "#" or "?": those are part of the file name, not
    // URL delimiters. Take the rest as it is, without the authority slashes.
    QString raw = urlText.mid(kFileScheme.size());
    if (raw.startsWith(QLatin1String("//")))
        raw = raw.mid(2);
    static const QRegularExpression drive(QStringLiteral("^/[A-Za-z]:/"));
    if (drive.match(raw).hasMatch())
        raw = raw.mid(1);
    return raw;
}

QString RCImageManager::localPathOf(const QString& value) const
{
    if (value.isEmpty())
        return QString();
    if (isFileValue(value))
        return fileUrlToLocalPath(value);
    if (isQrcValue(value)) {
        const QUrl url(value.mid(value.indexOf(kQrcScheme)));
        return QLatin1Char(':') + url.path();
    }
    if (value.startsWith(QLatin1String(ReferencePrefix))) {
        const QString resolved = pathTransformation(value);
        if (resolved.isEmpty())
            return QString();
        const QUrl url(resolved);
        if (url.scheme() == QLatin1String("qrc"))
            return QLatin1Char(':') + url.path();
        return url.toLocalFile();
    }
    return value;
}

QString RCImageManager::resolveFolder(const QString& dstFolder) const
{
    return dstFolder.isEmpty() ? m_imageFolder : dstFolder;
}

QString RCImageManager::fileKey(const QString& path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? cleanAbsolute(path) : canonical;
}

void RCImageManager::adoptImageFolder(const QString& folder)
{
    if (folder.isEmpty() || sameFolder(m_imageFolder, folder))
        return;
    setResolution(folder, false, m_qrcImageFolder);
}

bool RCImageManager::sameFolder(const QString& a, const QString& b)
{
    if (a.isEmpty() || b.isEmpty())
        return a.isEmpty() && b.isEmpty();
    const QFileInfo ia(a);
    const QFileInfo ib(b);
    if (ia.exists() && ib.exists())
        return ia.canonicalFilePath() == ib.canonicalFilePath() || RCPacketFolder::sameFile(a, b);
    return cleanAbsolute(a) == cleanAbsolute(b);
}

bool RCImageManager::sameContent(const QString& a, const QString& b)
{
    QFile fa(a);
    QFile fb(b);
    if (fa.size() != fb.size())
        return false;
    if (!fa.open(QIODevice::ReadOnly) || !fb.open(QIODevice::ReadOnly))
        return false;
    constexpr qint64 chunk = 64 * 1024;
    while (!fa.atEnd()) {
        if (fa.read(chunk) != fb.read(chunk))
            return false;
    }
    return true;
}

bool RCImageManager::needCopy(const QString& value, const QString& dstFolder) const
{
    if (isQrcValue(value))
        return false;
    if (isFileValue(value))
        return true;
    return !sameFolder(m_imageFolder, dstFolder);
}

QString RCImageManager::getImageReference(const QString& value) const
{
    return QString::fromLatin1(ReferencePrefix) + QFileInfo(localPathOf(value)).fileName();
}

QString RCImageManager::saveImageToDstPath(const QString& value, const QString& dstFolder, bool* created,
                                           QString* error, QSet<QString>* written)
{
    if (created)
        *created = false;
    const QString folder = resolveFolder(dstFolder);
    const QString source = localPathOf(value);
    const QString fileName = QFileInfo(source).fileName();
    qInfo() << "RCImageManager::saveImageToDstPath" << value << source << folder;

    if (folder.isEmpty() || value.isEmpty() || source.isEmpty() || fileName.isEmpty()) {
        qWarning() << "RCImageManager::saveImageToDstPath"
                   << "image path is invalid" << value << source << folder;
        return QString();
    }
    if (!QFileInfo(source).isFile()) {
        qWarning() << "RCImageManager::saveImageToDstPath"
                   << "image copy failed"
                   << "source missing" << source;
        return QString();
    }
    QDir().mkpath(folder);

    const QFileInfo nameInfo(fileName);
    const QString stem = nameInfo.completeBaseName();
    const QString suffix = nameInfo.suffix();
    // Bounded search for a free name or a copy that this save already wrote.
    for (int n = 1; n <= 1000; ++n) {
        QString candidateName = fileName;
        if (n > 1) {
            candidateName = suffix.isEmpty() ? QStringLiteral("%1_%2").arg(stem).arg(n)
                                             : QStringLiteral("%1_%2.%3").arg(stem).arg(n).arg(suffix);
        }
        const QString target = cleanAbsolute(QDir(folder).filePath(candidateName));
        const QFileInfo targetInfo(target);
        if (targetInfo.exists() || targetInfo.isSymLink()) {
            if (written && written->contains(fileKey(target)) && sameContent(source, target))
                return target;
            continue;
        }
        // Every byte or nothing: a cut copy would take the name of the picture.
        if (!RCFileWrite::copy(source, target, error)) {
            qWarning() << "RCImageManager::saveImageToDstPath"
                       << "image copy failed" << source << target;
            return QString();
        }
        // A copy of a resource is read-only; the packet's copy must be an ordinary file.
        QFile(target).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                     QFile::ReadOther);
        if (created)
            *created = true;
        if (written)
            written->insert(fileKey(target));
        return target;
    }
    qWarning() << "RCImageManager::saveImageToDstPath"
               << "image copy failed"
               << "no free name" << fileName;
    return QString();
}

QSet<QString> RCImageManager::modifyImagePathAndSaveImages(const QString& dstFolder, GatherReport* report,
                                                           const QSet<QString>& ownFiles)
{
    QSet<QString> used;
    const QString prefix = QString::fromLatin1(ReferencePrefix);
    const QDir folder(resolveFolder(dstFolder));
    bool failed = false;
    // Once a picture that is there could not be written the save fails whatever follows: the
    // remaining pictures are not copied (on a full disk each copy would fill it again), the
    // missing ones are still listed.
    bool writeFailed = false;
    // The packet's own pictures and the copies this gathering writes: the only files of the
    // destination that a picture may reuse.
    QSet<QString> written = ownFiles;

    // Gathers one value; returns the reference to store, or "" to leave the value as it is.
    auto gather = [&](const QString& value) -> QString {
        QString reference;
        // An empty value shows nothing; a reference that resolves to nothing names no picture.
        if (!value.isEmpty() && !localPathOf(value).isEmpty() && needCopy(value, dstFolder) &&
            (!writeFailed || isMissing(value))) {
            bool created = false;
            QString error;
            const QString target = saveImageToDstPath(value, dstFolder, &created, &error, &written);
            if (!target.isEmpty())
                reference = prefix + QFileInfo(target).fileName();
            if (report && created)
                report->created.append(target);
            if (target.isEmpty()) {
                failed = true;
                const bool missing = isMissing(value);
                writeFailed = writeFailed || !missing;
                if (report) {
                    report->failed.append(value);
                    if (missing) {
                        report->missing.append(value);
                        addMissingName(value, report->missingNames);
                    } else if (report->writeError.isEmpty())
                        report->writeError = error;
                }
            }
        }
        // Every reference the written file holds names a file of the destination: it stays.
        const QString name = referenceName(reference.isEmpty() ? value : reference);
        if (!name.isEmpty())
            used.insert(fileKey(folder.filePath(name)));
        return reference;
    };

    // Every picture is copied before any value changes: a view that shows a value resolves it
    // only where its file already is.
    QList<std::pair<ImageValue, QString>> rewrites; // the value as it is, and its reference
    forEachImageValue(
        [&](const QString& sceneId, const QString& itemId, const QString& name, const QVariant& value) {
            const QString reference = gather(value.toString());
            if (!reference.isEmpty())
                rewrites.append({ImageValue{sceneId, itemId, name, value}, reference});
        });
    if (failed)
        return used;
    if (report) {
        report->resolutionMoved = true;
        report->previousFolder = m_imageFolder;
        report->previousIsQrc = m_isQrc;
    }
    adoptImageFolder(resolveFolder(dstFolder));
    for (const auto& [previous, reference] : std::as_const(rewrites)) {
        if (report)
            report->previous.append(previous);
        setImageValue(previous.sceneId, previous.itemId, previous.name, reference);
    }
    return used;
}

void RCImageManager::forEachImageValue(
    const std::function<void(const QString&, const QString&, const QString&, const QVariant&)>& visit) const
{
    RCScenePresenter* scenes = RCScenePresenter::instance();
    RCSceneItemPresenter* items = RCSceneItemPresenter::instance();
    const QStringList sceneIds = scenes->getSceneIds();
    for (const QString& sceneId : sceneIds) {
        for (const QString& key : {RCKeys::IconPath(), RCKeys::BackgroundImg()})
            visit(sceneId, QString(), key, scenes->getPropertyValue(sceneId, key));
        const QStringList itemIds = items->getItemIds(sceneId);
        for (const QString& itemId : itemIds) {
            const QVariantMap images = items->getImagePropertyValues(sceneId, itemId);
            for (auto it = images.cbegin(); it != images.cend(); ++it)
                visit(sceneId, itemId, it.key(), it.value());
            const QVariantMap others =
                items->getTextValues(sceneId, itemId, [&](const QString& name, const QString& text) {
                    return !images.contains(name) && namesPacketPicture(text);
                });
            for (auto it = others.cbegin(); it != others.cend(); ++it)
                visit(sceneId, itemId, it.key(), it.value());
        }
    }
}

void RCImageManager::setImageValue(const QString& sceneId, const QString& itemId, const QString& name,
                                   const QVariant& value)
{
    if (itemId.isEmpty())
        RCScenePresenter::instance()->setPropertyValue(sceneId, name, value, false);
    else
        RCSceneItemPresenter::instance()->setPropertyValue(sceneId, itemId, name, value, false);
}

bool RCImageManager::namesPacketPicture(const QString& value) const
{
    return !referenceName(value).isEmpty() || (!m_isQrc && !fileInFolder(value, m_imageFolder).isEmpty());
}

QString RCImageManager::fileInFolder(const QString& value, const QString& folder)
{
    if (folder.isEmpty())
        return QString();
    QString path;
    const QString name = referenceName(value);
    if (!name.isEmpty())
        path = QDir(folder).filePath(name);
    else if (isFileValue(value))
        path = fileUrlToLocalPath(value);
    else if (QDir::isAbsolutePath(value))
        path = value;
    return !path.isEmpty() && sameFolder(QFileInfo(path).absolutePath(), folder) ? path : QString();
}

QSet<QString> RCImageManager::filesNamedBy(const QJsonValue& json, const QString& folder)
{
    QSet<QString> files;
    if (folder.isEmpty())
        return files;
    // Iterative, so that a deeply nested file cannot exhaust the stack.
    QList<QJsonValue> pending{json};
    while (!pending.isEmpty()) {
        const QJsonValue value = pending.takeLast();
        if (value.isObject()) {
            const QJsonObject object = value.toObject();
            for (auto it = object.begin(); it != object.end(); ++it)
                pending.append(it.value());
        } else if (value.isArray()) {
            const QJsonArray array = value.toArray();
            for (const QJsonValue& entry : array)
                pending.append(entry);
        } else if (value.isString()) {
            const QString path = fileInFolder(value.toString(), folder);
            if (!path.isEmpty())
                files.insert(fileKey(path));
        }
    }
    return files;
}

bool RCImageManager::isMissing(const QString& value) const
{
    if (value.isEmpty() || isQrcValue(value))
        return false;
    const QString path = localPathOf(value);
    return !path.isEmpty() && !QFileInfo(path).isFile();
}

void RCImageManager::addMissingName(const QString& value, QStringList& names) const
{
    const QString name = QFileInfo(localPathOf(value)).fileName();
    if (!names.contains(name))
        names.append(name);
}

QStringList RCImageManager::missingPictures() const
{
    QStringList names;
    forEachImageValue([&](const QString&, const QString&, const QString&, const QVariant& value) {
        const QString text = value.toString();
        if (isMissing(text))
            addMissingName(text, names);
    });
    return names;
}

int RCImageManager::dropMissingPictures()
{
    QList<ImageValue> missing;
    forEachImageValue(
        [&](const QString& sceneId, const QString& itemId, const QString& name, const QVariant& value) {
            if (isMissing(value.toString()))
                missing.append(ImageValue{sceneId, itemId, name, value});
        });
    for (const ImageValue& entry : std::as_const(missing))
        setImageValue(entry.sceneId, entry.itemId, entry.name, QString());
    return int(missing.size());
}

bool RCImageManager::usesPicturesIn(const QString& folder) const
{
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return false;
    const QString root = QFileInfo(folder).canonicalFilePath();
    bool uses = false;
    forEachImageValue([&](const QString&, const QString&, const QString&, const QVariant& value) {
        const QString text = value.toString();
        if (uses || text.isEmpty() || isQrcValue(text))
            return;
        const QString path = localPathOf(text);
        if (path.isEmpty())
            return;
        // The folder that holds the file, canonical where it exists (a missing file still names
        // the folder it was in).
        const QFileInfo info(path);
        const QString parent = QFileInfo(info.absolutePath()).canonicalFilePath();
        if (parent.isEmpty())
            return;
        uses = parent == root || parent.startsWith(root + QLatin1Char('/'));
    });
    return uses;
}

void RCImageManager::discardGathering(const GatherReport& report)
{
    // Values first, while the copies they may name are still there; then where references
    // resolve; the copies last.
    for (const ImageValue& entry : report.previous)
        setImageValue(entry.sceneId, entry.itemId, entry.name, entry.value);
    if (report.resolutionMoved)
        setResolution(report.previousFolder, report.previousIsQrc, m_qrcImageFolder);
    for (const QString& file : report.created) {
        if (!QFile::remove(file))
            qWarning() << "RCImageManager::discardGathering"
                       << "cannot remove" << file;
    }
}

void RCImageManager::removeUnusedImages(const QString& dstFolder, const QSet<QString>& usedFiles,
                                        const QSet<QString>& ownFiles)
{
    const QString folder = resolveFolder(dstFolder);
    // An empty folder would list the working directory. An image folder that is a link leads to a
    // folder of the user's, which may hold the pictures of other packets: nothing there goes.
    if (folder.isEmpty() || !QFileInfo(folder).isDir() || QFileInfo(folder).isSymLink())
        return;
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    for (const QFileInfo& entry : entries) {
        if (entry.isDir())
            continue;
        // The entry itself goes (a link as a link), never what it points to.
        const QString path = cleanAbsolute(entry.absoluteFilePath());
        const QString key = fileKey(path);
        if (usedFiles.contains(key) || !ownFiles.contains(key))
            continue;
        qInfo() << "RCImageManager::modifyImagePathAndSaveImages"
                << "delete file" << path;
        QFile::remove(path);
    }
}
