#include "project/RCProjectPacketSaver.h"

#include "editing/RCScenePresenter.h"
#include "project/IRCSetting.h"
#include "project/RCFileWrite.h"
#include "project/RCImageManager.h"
#include "project/RCLogCategories.h"
#include "project/RCPacketFolder.h"
#include "project/RCRecentProjectRecord.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

RCProjectPacketSaver::RCProjectPacketSaver(RCImageManager* imageManager, IRCSetting* setting)
    : m_imageManager(imageManager), m_setting(setting)
{
}

QString RCProjectPacketSaver::fileVersion()
{
    return QStringLiteral("3.0.0");
}

void RCProjectPacketSaver::recordRead(const QString& filePath, const QString& imageFolder,
                                      const QJsonValue& json)
{
    m_fileRecord.record(filePath, imageFolder, json);
}

bool RCProjectPacketSaver::isFileChangedOnDisk(const QString& packetPath) const
{
    if (packetPath.isEmpty())
        return false;
    const QString file = RCPacketFolder::projectFileOf(packetPath);
    return !file.isEmpty() && m_fileRecord.state(file) == RCProjectFileRecord::State::Changed;
}

void RCProjectPacketSaver::setReservedFolders(const QStringList& folders)
{
    m_reservedFolders = folders;
}

bool RCProjectPacketSaver::savesIntoReserved(const QString& packetPath) const
{
    return RCPacketFolder::savesInto(packetPath, m_reservedFolders);
}

bool RCProjectPacketSaver::saveProject(const QString& filePath, const QString& imageFolder,
                                       const QString& packetImageFolder)
{
    m_lastError.clear();
    // What the file about to be replaced is, known before it is: as the program last read or
    // wrote it (its pictures are known), or else read now.
    const QString usedFolder = imageFolder.isEmpty() ? m_imageManager->projectImagePath() : imageFolder;
    const QString previous = previousFileOf(filePath);
    const RCProjectFileRecord::State known = m_fileRecord.state(previous, usedFolder);
    const bool readNow =
        known == RCProjectFileRecord::State::Changed || known == RCProjectFileRecord::State::Unknown;
    const QSet<QString> namedOnDisk = readNow ? picturesNamedByFile(previous, usedFolder) : QSet<QString>();
    const QSet<QString> previousPictures = ownPictures(known, namedOnDisk);
    RCImageManager::GatherReport gathered;
    const QSet<QString> usedImages =
        m_imageManager->modifyImagePathAndSaveImages(imageFolder, &gathered, previousPictures);
    if (!gathered.failed.isEmpty()) {
        // A file without its pictures would lose them: nothing is written, the document and the
        // destination stay as they were.
        m_imageManager->discardGathering(gathered);
        m_lastError = gathered.missingNames.isEmpty()
                          ? gathered.writeError
                          : tr("找不到图片：%1").arg(gathered.missingNames.join(QStringLiteral("、")));
        qCWarning(lcRcProject) << "RCProject::saveProject"
                               << "pictures could not be copied, nothing saved" << filePath
                               << gathered.failed;
        return false;
    }
    const QJsonObject root{{QStringLiteral("version"), fileVersion()},
                           {QStringLiteral("sceneArray"), RCScenePresenter::instance()->toJson()},
                           {QStringLiteral("setting"), m_setting->toJson()}};
    // All of the text or nothing: the previous file stays byte-identical when the disk cannot
    // take the whole new one.
    if (!RCFileWrite::write(filePath, QJsonDocument(root).toJson(QJsonDocument::Indented), &m_lastError)) {
        // The document stays as it was: its image values name what they named before, and the
        // pictures copied for it go again.
        m_imageManager->discardGathering(gathered);
        qCWarning(lcRcProject) << "RCProject::saveProject"
                               << "write failed" << filePath << m_lastError;
        return false;
    }
    // Only now that the new file is in place may the images it no longer names go, and only from
    // the packet's own image folder, and only those that the file it replaced named: a save
    // deletes no file that the program did not put there.
    if (RCImageManager::sameFolder(usedFolder, packetImageFolder))
        m_imageManager->removeUnusedImages(usedFolder, usedImages, previousPictures);
    // The pictures that the new file names are those the document's values name there.
    m_fileRecord.record(filePath, usedFolder, usedImages);
    return true;
}

QString RCProjectPacketSaver::previousFileOf(const QString& filePath)
{
    const QFileInfo info(filePath);
    if (!info.isFile() && info.fileName() == QLatin1String(RCPacketFolder::ProjectFileName))
        return info.dir().filePath(QLatin1String(RCPacketFolder::OldProjectFileName));
    return filePath;
}

QSet<QString> RCProjectPacketSaver::ownPictures(RCProjectFileRecord::State known,
                                                QSet<QString> namedOnDisk) const
{
    switch (known) {
    case RCProjectFileRecord::State::Unchanged:
        return m_fileRecord.pictures();
    case RCProjectFileRecord::State::Changed:
        // What the change added is not the program's to delete.
        return namedOnDisk.intersect(m_fileRecord.pictures());
    case RCProjectFileRecord::State::Gone:
        return {};
    case RCProjectFileRecord::State::Unknown:
        break;
    }
    return namedOnDisk;
}

QSet<QString> RCProjectPacketSaver::picturesNamedByFile(const QString& filePath, const QString& imageFolder)
{
    QFile file(filePath);
    if (!QFileInfo(filePath).isFile() || !file.open(QIODevice::ReadOnly))
        return {};
    // Anything that is not a JSON document names nothing: its folder's pictures are not ours.
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll());
    return RCImageManager::filesNamedBy(
        document.isObject() ? QJsonValue(document.object()) : QJsonValue(document.array()), imageFolder);
}

bool RCProjectPacketSaver::refuse(const char* log, const QString& packetPath, const QString& reason)
{
    qCWarning(lcRcProject) << "RCProject::saveProjectPacket" << log << packetPath;
    m_lastError = reason;
    return false;
}

bool RCProjectPacketSaver::savePacket(const QString& packetPath, const QString& openPacket,
                                      ChangedFile changed)
{
    m_lastError.clear();
    if (RCPacketFolder::isNameTooLong(RCPacketFolder::folderName(packetPath)))
        return refuse("name too long", packetPath, tr("名称过长"));
    const QString refused = tr("不能保存到 %1").arg(QDir::toNativeSeparators(packetPath));
    // The program empties, replaces or deletes these on its own: a packet there would be lost,
    // also the open one (the project then asks for a new name, see IRCProject::isNewProject).
    // Compared resolved and as files, so that neither a link nor a mount leads elsewhere, for the
    // packet and each of its entries (an image folder that links into the install folder).
    if (savesIntoReserved(packetPath))
        return refuse("refused, inside a folder of the program's", packetPath, refused);
    // The packet that is open is saved where it is, also when the recent list cannot hold its path
    // (it then stays out of the list); a new packet must be one that the list can hold.
    const bool listed = RCRecentProjectRecord::canRecord(packetPath);
    const bool inPlace =
        RCPacketFolder::samePath(packetPath, openPacket) && RCPacketFolder::holdsProjectFile(packetPath);
    if ((!listed && !inPlace) || !RCPacketFolder::isValidPacketName(RCPacketFolder::folderName(packetPath)))
        return refuse("refused", packetPath, refused);
    // Another program's change is replaced only when the caller says so (the user was asked).
    if (changed == ChangedFile::Refuse && isFileChangedOnDisk(packetPath))
        return refuse("refused, its project file changed on disk", packetPath,
                      tr("项目文件已被其他程序修改"));

    const QString imageFolder =
        QStringLiteral("%1/%2").arg(packetPath, QLatin1String(RCPacketFolder::ImageFolderName));
    const bool packetMade = !QFileInfo::exists(packetPath) && QDir().mkpath(packetPath);
    const bool imageFolderMade = !QFileInfo::exists(imageFolder) && QDir().mkpath(imageFolder);
    const QString packetImageFolder =
        QStringLiteral("%1/%2").arg(openPacket, QLatin1String(RCPacketFolder::ImageFolderName));
    const bool saved =
        saveProject(QStringLiteral("%1/%2").arg(packetPath, QLatin1String(RCPacketFolder::ProjectFileName)),
                    imageFolder, packetImageFolder);
    if (!saved) {
        // The folders this save made go again; rmdir leaves a folder that holds anything.
        if (imageFolderMade)
            QDir().rmdir(imageFolder);
        if (packetMade)
            QDir().rmdir(packetPath);
        return false;
    }
    // Listed only once it holds a whole project file: a save that failed or was cut off names no
    // project of the start page.
    if (listed)
        RCRecentProjectRecord::instance()->addDirPath(packetPath);
    // The old project file goes only from the packet being saved, never from another folder.
    if (RCPacketFolder::samePath(packetPath, openPacket)) {
        const QString oldFile =
            QStringLiteral("%1/%2").arg(packetPath, QLatin1String(RCPacketFolder::OldProjectFileName));
        if (QFileInfo(oldFile).isFile())
            QFile::remove(oldFile);
    }
    return true;
}
