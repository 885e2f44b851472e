#include "project/RCStoredProjects.h"

#include "model/RCKeys.h"
#include "project/RCLogCategories.h"
#include "project/RCPacketFolder.h"
#include "project/RCRecentProjectRecord.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

int RCStoredProjects::rescan()
{
    m_list.clear();
    // Also the packets that another instance on the same home saved meanwhile.
    RCRecentProjectRecord::instance()->refresh();
    const QStringList folders = RCRecentProjectRecord::instance()->getDirPathList();
    for (const QString& folder : folders) {
        // A folder without a readable project file is no project (yet): a save that was cut off
        // leaves one behind, and the project file only ever appears whole.
        const QString file = RCPacketFolder::projectFileOf(folder);
        if (file.isEmpty() || !QFileInfo(file).isReadable())
            continue;
        QVariantMap entry;
        entry.insert(RCKeys::ProjectPacketPath(), folder);
        entry.insert(RCKeys::Name(), RCPacketFolder::folderName(folder));
        // "" for a packet without a thumbnail (never saved with a window, or copied without it): its
        // tile shows no picture instead of failing to load one.
        const QString thumbnail =
            QStringLiteral("%1/%2").arg(folder, QLatin1String(RCPacketFolder::ThumbnailFileName));
        entry.insert(RCKeys::ThumbnailPath(),
                     QFileInfo(thumbnail).isFile() ? QUrl::fromLocalFile(thumbnail).toString() : QString());
        m_list.append(entry);
    }
    return int(m_list.size());
}

QVariantMap RCStoredProjects::entry(int i) const
{
    if (i < 0 || i >= m_list.size())
        return QVariantMap();
    return m_list.at(i);
}

bool RCStoredProjects::deletePacket(const QString& packetPath)
{
    // Cleaned, so that a trailing separator still names the folder itself in its parent.
    const QString packet = QDir::cleanPath(packetPath);
    RCRecentProjectRecord* recent = RCRecentProjectRecord::instance();
    const bool listed = recent->contains(packetPath) || recent->contains(packet);
    if (RCPacketFolder::isProjectPacket(packetPath)) {
        // Only the packet's own files go: a packet saved into a folder of other files leaves them
        // there.
        if (!RCPacketFolder::removePacket(packet))
            return false;
    } else if (!listed || !RCPacketFolder::holdsProjectFile(packetPath)) {
        qCWarning(lcRcProject) << "RCProject::removeProjectPakcet"
                               << "not a project packet" << packetPath;
        return false;
    } else {
        // A listed packet whose project file is no project's (another tool's text, say): nothing
        // in it can be told for the packet's own, so all of it stays and only its entry goes.
        qCInfo(lcRcProject) << "RCProject::removeProjectPakcet"
                            << "its project file is no project, only its entry goes" << packetPath;
    }
    recent->removeDirPath(packetPath);
    recent->removeDirPath(packet);
    return true;
}

QString RCStoredProjects::renamePacket(const QString& packetPath, const QString& projectName,
                                       const QString& newProjectName)
{
    // Whatever its project file holds: a rename loses nothing.
    if (!RCPacketFolder::holdsProjectFile(packetPath) || RCPacketFolder::folderName(packetPath) != projectName ||
        !RCPacketFolder::isValidPacketName(newProjectName)) {
        qCWarning(lcRcProject) << "RCProject::renameProjectPakcet"
                               << "refused" << packetPath << projectName << newProjectName;
        return QString();
    }
    const QFileInfo info(QDir::cleanPath(packetPath));
    const QString newPath = QStringLiteral("%1/%2").arg(info.path(), newProjectName);
    if (!RCRecentProjectRecord::canRecord(newPath)) {
        qCWarning(lcRcProject) << "RCProject::renameProjectPakcet"
                               << "the recent list cannot hold" << newPath;
        return QString();
    }
    if (QFileInfo::exists(newPath) || !QDir().rename(info.filePath(), newPath))
        return QString();
    RCRecentProjectRecord::instance()->removeDirPath(packetPath);
    RCRecentProjectRecord::instance()->removeDirPath(info.filePath());
    RCRecentProjectRecord::instance()->addDirPath(newPath);
    return newPath;
}
