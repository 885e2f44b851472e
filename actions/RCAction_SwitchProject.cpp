#include "actions/RCAction_SwitchProject.h"

#include "model/RCKeys.h"
#include "project/IRCProject.h"
#include "project/RCPacketFolder.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>

int RCAction_SwitchProject::execute(const QString& /*sceneId*/, const QString& /*sceneItemId*/,
                                    const QVariant& data)
{
    if (!project())
        return -1;
    const QVariantMap map = data.toMap();
    QString name = map.value(RCKeys::ProjectName()).toString();
    const QString packetPath = map.value(RCKeys::ProjectPacketPath()).toString();
    const QString current = project()->getProjectPacketPath();
    const QString parent = QFileInfo(QDir::cleanPath(current)).absolutePath();

    if (!packetPath.isEmpty()) {
        const QFileInfo target(QDir::cleanPath(packetPath));
        name = target.absolutePath() == parent ? target.fileName() : QString();
        if (name.isEmpty()) {
            qWarning() << "Switch project refused: not beside the current project" << packetPath;
            return -1;
        }
    }
    if (name.isEmpty() && packetPath.isEmpty()) {
        qWarning() << "Switch project failed with empty path";
        return -1;
    }
    if (current.isEmpty() || !RCPacketFolder::isValidPacketName(name)) {
        qWarning() << "Switch project refused: not a project folder beside the current one" << name;
        return -1;
    }
    const QString path = QDir(parent).filePath(name);
    // A project file that does not read is named by the load that fails on it.
    if (!RCPacketFolder::holdsProjectFile(path)) {
        qWarning() << "Switch project failed: no project in" << path;
        return -1;
    }
    project()->requestSwitchProject(path);
    return 0;
}
