#include "editing/RCEditingCommands.h"

#include "editing/RCCommandManager.h"
#include "editing/RCSceneCommand_Add.h"
#include "editing/RCSceneCommand_Move.h"
#include "editing/RCSceneCommand_Remove.h"
#include "editing/RCSceneCommand_Update.h"
#include "editing/RCSceneItemCommand_Add.h"
#include "editing/RCSceneItemCommand_Remove.h"
#include "editing/RCSceneItemCommand_Update.h"
#include "editing/RCSceneItemCommand_UpdatePos.h"
#include "editing/RCSceneItemCommand_UpdateSize.h"

namespace {

template <typename T> RCCommand* create()
{
    return new T();
}

} // namespace

void registerEditingCommands()
{
    RCCommandManager* manager = RCCommandManager::instance();
    manager->registerCommand("RCSceneCommand_Add", &create<RCSceneCommand_Add>);
    manager->registerCommand("RCSceneCommand_Move", &create<RCSceneCommand_Move>);
    manager->registerCommand("RCSceneCommand_Remove", &create<RCSceneCommand_Remove>);
    manager->registerCommand("RCSceneCommand_Update", &create<RCSceneCommand_Update>);
    manager->registerCommand("RCSceneItemCommand_Add", &create<RCSceneItemCommand_Add>);
    manager->registerCommand("RCSceneItemCommand_Remove", &create<RCSceneItemCommand_Remove>);
    manager->registerCommand("RCSceneItemCommand_Update", &create<RCSceneItemCommand_Update>);
    manager->registerCommand("RCSceneItemCommand_UpdatePos", &create<RCSceneItemCommand_UpdatePos>);
    manager->registerCommand("RCSceneItemCommand_UpdateSize", &create<RCSceneItemCommand_UpdateSize>);
}
