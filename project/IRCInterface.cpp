#include "project/IRCInterface.h"

IRCInterface::IRCInterface(QObject* parent) : IRCCppObject(parent) {}

bool IRCInterface::sceneListItemContainScene(const QString& sceneIdSelf, const QString& sceneItemId,
                                             const QString& sceneIdDest)
{
    Q_UNUSED(sceneIdSelf);
    Q_UNUSED(sceneItemId);
    Q_UNUSED(sceneIdDest);
    return false;
}

QString IRCInterface::msecToString(int msec)
{
    Q_UNUSED(msec);
    return QString();
}

QString IRCInterface::urlToLocalPath(const QString& urlOrPath)
{
    Q_UNUSED(urlOrPath);
    return QString();
}

bool IRCInterface::isValidProjectName(const QString& name)
{
    Q_UNUSED(name);
    return false;
}

QString IRCInterface::safeProjectName(const QString& name)
{
    Q_UNUSED(name);
    return QString();
}

bool IRCInterface::folderHasEntries(const QString& path)
{
    Q_UNUSED(path);
    return false;
}

bool IRCInterface::isPacketOnly(const QString& path)
{
    Q_UNUSED(path);
    return false;
}

bool IRCInterface::holdsPacketFiles(const QString& path)
{
    Q_UNUSED(path);
    return false;
}

bool IRCInterface::isNameTooLong(const QString& name)
{
    Q_UNUSED(name);
    return false;
}

bool IRCInterface::isSamePath(const QString& a, const QString& b)
{
    Q_UNUSED(a);
    Q_UNUSED(b);
    return false;
}

bool IRCInterface::isInsideFolder(const QString& path, const QString& folder)
{
    Q_UNUSED(path);
    Q_UNUSED(folder);
    return false;
}

bool IRCInterface::savesIntoFolder(const QString& packetPath, const QString& folder)
{
    Q_UNUSED(packetPath);
    Q_UNUSED(folder);
    return false;
}

bool IRCInterface::isLink(const QString& path)
{
    Q_UNUSED(path);
    return false;
}

bool IRCInterface::isProjectPacket(const QString& path)
{
    Q_UNUSED(path);
    return false;
}

bool IRCInterface::isDamagedPacket(const QString& path)
{
    Q_UNUSED(path);
    return false;
}

QString IRCInterface::parentFolder(const QString& path)
{
    Q_UNUSED(path);
    return QString();
}

QString IRCInterface::writePng(const QImage& image, const QString& path)
{
    Q_UNUSED(image);
    // Nothing is written here, which is no success.
    return QStringLiteral("无法写入 %1").arg(path);
}
