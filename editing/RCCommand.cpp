#include "editing/RCCommand.h"

#include "editing/RCCommandManager.h"
#include "model/IRCObject.h"

RCCommand::RCCommand() : m_timeStamp(RCCommandManager::instance()->now()) {}

RCCommand::~RCCommand() = default;

bool RCCommand::execute()
{
    return false;
}

bool RCCommand::undo()
{
    return false;
}

bool RCCommand::fromParams(const RCCommandParams&)
{
    return false;
}

void RCCommand::toParams(RCCommandParams&) const {}

bool RCCommand::mergeWith(const RCCommand*)
{
    return false;
}

bool RCCommand::changeProperty(IRCObject* object, const QString& name, const QVariant& value, QVariant& old)
{
    if (!object)
        return false;
    const QVariant current = object->getPropertyValue(name);
    if (current == value)
        return false;
    object->setPropertyValue(name, value);
    if (object->getPropertyValue(name) == current)
        return false; // refused: read-only or unknown property
    old = current;
    return true;
}
