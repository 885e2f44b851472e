#include "project/RCInterface.h"

#include "editing/RCSceneItemPresenter.h"
#include "editing/RCScenePresenter.h"
#include "model/RCKeys.h"
#include "project/RCFileWrite.h"
#include "project/RCPacketFolder.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

RCInterface* RCInterface::instance()
{
    static RCInterface* object = new RCInterface;
    return object;
}

RCInterface::RCInterface(QObject* parent) : IRCInterface(parent) {}

bool RCInterface::sceneListItemContainScene(const QString& sceneIdSelf, const QString& sceneItemId,
                                            const QString& sceneIdDest)
{
    if (sceneItemId.isEmpty())
        return false;
    QString list = RCSceneItemPresenter::instance()
                       ->getPropertyValue(sceneIdSelf, sceneItemId, RCKeys::TypeNameList())
                       .toString();
    list.replace(QChar(0xFF1B), QLatin1Char(';'));
    const QStringList pieces = list.split(QLatin1Char(';'), Qt::KeepEmptyParts);
    // An unknown scene, or one without a type name, is in no list (an empty piece is no type).
    const QString typeName =
        RCScenePresenter::instance()->getPropertyValue(sceneIdDest, RCKeys::TypeName()).toString();
    return !typeName.isEmpty() && pieces.contains(typeName);
}

QString RCInterface::msecToString(int msec)
{
    qint64 total = msec;
    const bool negative = total < 0;
    if (negative)
        total = -total;
    const qint64 seconds = total / 1000;
    const QString text = QStringLiteral("%1:%2:%3")
                             .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
                             .arg((seconds / 60) % 60, 2, 10, QLatin1Char('0'))
                             .arg(seconds % 60, 2, 10, QLatin1Char('0'));
    return negative && seconds > 0 ? QLatin1Char('-') + text : text;
}

QString RCInterface::urlToLocalPath(const QString& urlOrPath)
{
    if (!urlOrPath.startsWith(QLatin1String("file:"), Qt::CaseInsensitive))
        return urlOrPath;
    const QUrl url(urlOrPath);
    return url.isLocalFile() ? url.toLocalFile() : QString();
}

bool RCInterface::isValidProjectName(const QString& name)
{
    return RCPacketFolder::isValidProjectName(name);
}

QString RCInterface::safeProjectName(const QString& name)
{
    return RCPacketFolder::safeProjectName(name);
}

bool RCInterface::folderHasEntries(const QString& path)
{
    if (path.isEmpty() || !QFileInfo(path).isDir())
        return false;
    return !QDir(path)
                .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)
                .isEmpty();
}

bool RCInterface::isPacketOnly(const QString& path)
{
    return RCPacketFolder::holdsOnlyPacket(path);
}

bool RCInterface::holdsPacketFiles(const QString& path)
{
    return RCPacketFolder::holdsPacketFiles(path);
}

bool RCInterface::isNameTooLong(const QString& name)
{
    return RCPacketFolder::isNameTooLong(name);
}

bool RCInterface::isSamePath(const QString& a, const QString& b)
{
    return RCPacketFolder::samePath(a, b);
}

bool RCInterface::isInsideFolder(const QString& path, const QString& folder)
{
    return RCPacketFolder::isInside(path, folder);
}

bool RCInterface::savesIntoFolder(const QString& packetPath, const QString& folder)
{
    return RCPacketFolder::savesInto(packetPath, folder);
}

bool RCInterface::isLink(const QString& path)
{
    return !path.isEmpty() && QFileInfo(QDir::cleanPath(path)).isSymLink();
}

bool RCInterface::isProjectPacket(const QString& path)
{
    return RCPacketFolder::isProjectPacket(path);
}

bool RCInterface::isDamagedPacket(const QString& path)
{
    return RCPacketFolder::isDamagedPacket(path);
}

QString RCInterface::parentFolder(const QString& path)
{
    if (path.isEmpty() || QDir::isRelativePath(path))
        return QString();
    const QString clean = QDir::cleanPath(path);
    const QString parent = QFileInfo(clean).path();
    return parent == clean ? QString() : parent;
}

QString RCInterface::writePng(const QImage& image, const QString& path)
{
    QByteArray png;
    QBuffer buffer(&png);
    if (image.isNull() || !buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "png"))
        return tr("无法生成图片 %1").arg(QDir::toNativeSeparators(path));
    QString reason;
    RCFileWrite::write(path, png, &reason);
    return reason;
}
