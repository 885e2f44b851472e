#include "editing/Platform.h"

#include "editing/RCCommandManager.h"
#include "model/IRCObject.h"
#include "model/RCObjectManager.h"

namespace {

QString idOfType(const QString& objectId, eIRCObjectType type)
{
    const IRCObject* obj = RCObjectManager::instance()->getObject(objectId);
    if (!obj || obj->getObjectType() != type)
        return QString();
    return obj->getId();
}

} // namespace

Platform* Platform::instance()
{
    static Platform* platform = new Platform();
    return platform;
}

Platform::Platform(QObject* parent) : IRCCppObject(parent)
{
    connect(RCObjectManager::instance(), &RCObjectManager::objectFocusChanged, this,
            &Platform::objectFocusChanged);
}

QString Platform::tryGetSceneId(QString objectId)
{
    return idOfType(objectId, eIRCObjectType_Scene);
}

QString Platform::tryGetSceneItemId(QString objectId)
{
    return idOfType(objectId, eIRCObjectType_SceneItem);
}

void Platform::clearCommands()
{
    RCCommandManager::instance()->clear();
}

bool Platform::canUndo()
{
    return RCCommandManager::instance()->canUndo();
}

void Platform::undo()
{
    RCCommandManager::instance()->undo();
}

void Platform::redo()
{
    RCCommandManager::instance()->redo();
}
