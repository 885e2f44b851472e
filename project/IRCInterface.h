#pragma once

#include "model/IRCCppObject.h"

#include <QImage>
#include <QString>

// Helpers for the scene views that QML cannot do well by itself (published as
// "getRCInterface"). The interface's own bodies answer false and the empty string.
class IRCInterface : public IRCCppObject
{
    Q_OBJECT

public:
    explicit IRCInterface(QObject* parent = nullptr);

    // Whether the scene sceneIdDest is one of the scene types listed by the item sceneItemId
    // of the scene sceneIdSelf.
    Q_INVOKABLE virtual bool sceneListItemContainScene(const QString& sceneIdSelf, const QString& sceneItemId,
                                                       const QString& sceneIdDest);
    // A duration in milliseconds as "hh:mm:ss".
    Q_INVOKABLE virtual QString msecToString(int msec);

    // Paths and project names for the save, download and project-manager views.
    Q_INVOKABLE virtual QString urlToLocalPath(const QString& urlOrPath);
    Q_INVOKABLE virtual bool isValidProjectName(const QString& name);
    Q_INVOKABLE virtual QString safeProjectName(const QString& name);
    Q_INVOKABLE virtual bool folderHasEntries(const QString& path);
    Q_INVOKABLE virtual bool isPacketOnly(const QString& path);
    Q_INVOKABLE virtual bool holdsPacketFiles(const QString& path);
    Q_INVOKABLE virtual bool isNameTooLong(const QString& name);
    Q_INVOKABLE virtual bool isSamePath(const QString& a, const QString& b);
    Q_INVOKABLE virtual bool isInsideFolder(const QString& path, const QString& folder);
    Q_INVOKABLE virtual bool savesIntoFolder(const QString& packetPath, const QString& folder);
    Q_INVOKABLE virtual bool isLink(const QString& path);
    Q_INVOKABLE virtual bool isProjectPacket(const QString& path);
    Q_INVOKABLE virtual bool isDamagedPacket(const QString& path);
    Q_INVOKABLE virtual QString parentFolder(const QString& path);
    // Writes a picture (a grabbed view) as a PNG file; "" when the whole file is in place, else
    // why it is not (the file then stays as it was).
    Q_INVOKABLE virtual QString writePng(const QImage& image, const QString& path);
};
