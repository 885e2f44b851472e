#include "actions/IRCAction.h"

IRCAction::IRCAction(QObject* parent) : IRCObject(parent) {}

IRCAction::~IRCAction() = default;

int IRCAction::execute(const QString& /*sceneId*/, const QString& /*sceneItemId*/, const QVariant& /*data*/)
{
    return -1;
}

IRCActionManager* IRCAction::getActionManager() const
{
    return nullptr;
}
