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
