#include "editing/RCCmdPresenter.h"

#include "editing/RCCommand.h"
#include "editing/RCCommandManager.h"
#include "editing/RCEditingCommands.h"

RCCmdPresenter* RCCmdPresenter::instance()
{
    static RCCmdPresenter presenter;
    return &presenter;
}

RCCmdPresenter::RCCmdPresenter(QObject* parent) : IRCCppObject(parent)
{
    registerEditingCommands();
    RCCommandManager* manager = RCCommandManager::instance();
    connect(manager, &RCCommandManager::undoCommandsEmptyChanged, this,
            &RCCmdPresenter::undoCommandsEmptyChanged);
    connect(manager, &RCCommandManager::redoCommandsEmptyChanged, this,
            &RCCmdPresenter::redoCommandsEmptyChanged);
    connect(manager, &RCCommandManager::haveOperatorRecord, this, &RCCmdPresenter::haveOperatorRecord);
    connect(manager, &RCCommandManager::haveOperatorFallback, this, &RCCmdPresenter::haveOperatorFallback);
}

bool RCCmdPresenter::execute(RCCommand* cmd, bool record)
{
    if (!cmd)
        return false;
    const bool ok = cmd->execute();
    if (ok && record)
        RCCommandManager::instance()->push(cmd, RCCommandManager::UndoStack, true);
    return ok;
}

void RCCmdPresenter::beginCommandGroup()
{
    RCCommandManager::instance()->beginGroup(true);
}

void RCCmdPresenter::endCommandGroup()
{
    RCCommandManager::instance()->beginGroup(false);
}
