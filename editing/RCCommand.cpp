#include "editing/RCCommand.h"

#include "editing/RCCommandManager.h"

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
