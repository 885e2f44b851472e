#include "actions/IRCActionManager.h"

IRCActionManager::IRCActionManager(QObject* parent) : IRCCppObject(parent) {}

IRCActionManager::~IRCActionManager() = default;

bool IRCActionManager::addAction(int /*actionType*/, IRCAction* /*action*/)
{
    return false;
}

bool IRCActionManager::removeAction(IRCAction* /*action*/)
{
    return false;
}

bool IRCActionManager::removeAction(int /*actionType*/)
{
    return false;
}

int IRCActionManager::execAction(const QString& /*sceneId*/, const QString& /*sceneItemId*/,
                                 int /*actionType*/, const QVariant& /*data*/)
{
    return -1;
}

IRCProject* IRCActionManager::getProject() const
{
    return nullptr;
}
