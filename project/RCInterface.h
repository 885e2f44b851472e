#pragma once

#include "project/IRCInterface.h"

// The process-wide IRCInterface ("getRCInterface"). GUI thread only.
class RCInterface : public IRCInterface
{
    Q_OBJECT

public:
    static RCInterface* instance();

    explicit RCInterface(QObject* parent = nullptr);

    // The item's "TypeNameList" (pieces separated by ";" or the full-width "；", kept
    // untrimmed) lists the "TypeName" of the scene sceneIdDest. False for an empty item id and
    // for a destination that is no scene or has an empty type name.
    Q_INVOKABLE bool sceneListItemContainScene(const QString& sceneIdSelf, const QString& sceneItemId,
                                               const QString& sceneIdDest) override;

    // "hh:mm:ss", hours as many digits as needed (at least two), so a duration of a day
    // or more keeps its whole days; a negative duration gets a leading "-". Milliseconds are
    // dropped, not rounded.
    Q_INVOKABLE QString msecToString(int msec) override;

    // The local path of a "file:" URL (percent-encoding decoded); any other text is taken as a
    // path already and returned as it is.
    Q_INVOKABLE QString urlToLocalPath(const QString& urlOrPath) override;
    // See RCPacketFolder::isValidProjectName and RCPacketFolder::safeProjectName.
    Q_INVOKABLE bool isValidProjectName(const QString& name) override;
    Q_INVOKABLE QString safeProjectName(const QString& name) override;
    // Whether the folder exists and lists any entry, hidden ones included.
    Q_INVOKABLE bool folderHasEntries(const QString& path) override;
    // See RCPacketFolder::holdsOnlyPacket.
    Q_INVOKABLE bool isPacketOnly(const QString& path) override;
    // See RCPacketFolder::holdsPacketFiles and RCPacketFolder::isNameTooLong.
    Q_INVOKABLE bool holdsPacketFiles(const QString& path) override;
    Q_INVOKABLE bool isNameTooLong(const QString& name) override;
    // Whether two non-empty paths name the same place (RCPacketFolder::samePath: resolved, so a
    // symbolic link is the folder it leads to; a trailing separator does not count).
    Q_INVOKABLE bool isSamePath(const QString& a, const QString& b) override;
    // Whether path is folder itself or lies below it, both resolved (RCPacketFolder::isInside).
    Q_INVOKABLE bool isInsideFolder(const QString& path, const QString& folder) override;
    // Whether a save into packetPath writes into or below folder (RCPacketFolder::savesInto).
    Q_INVOKABLE bool savesIntoFolder(const QString& packetPath, const QString& folder) override;
    // Whether the path itself is a symbolic link.
    Q_INVOKABLE bool isLink(const QString& path) override;
    // See RCPacketFolder::isProjectPacket.
    Q_INVOKABLE bool isProjectPacket(const QString& path) override;
    // See RCPacketFolder::isDamagedPacket (reads and parses the whole project file).
    Q_INVOKABLE bool isDamagedPacket(const QString& path) override;
    // The folder that holds an absolute path (cleaned; a trailing separator does not count), such
    // as "/" for "/show"; "" for an empty or relative path and for a root, which have none.
    Q_INVOKABLE QString parentFolder(const QString& path) override;
    // Encoded in memory, then written whole or not at all (RCFileWrite).
    Q_INVOKABLE QString writePng(const QImage& image, const QString& path) override;
};
