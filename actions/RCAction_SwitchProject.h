#pragma once

#include "actions/RCAction.h"

// Opens another project packet stored beside the current one. data {"ProjectName": folder name}
// names a folder in the current packet's parent folder; {"ProjectPacketPath": path} (which wins)
// must name such a folder too. The switch is only requested here (IRCProject::requestSwitchProject):
// it happens later, from the event loop and through the main window's question about unsaved
// changes, never inside the handler of the view that was tapped. -1 when no folder is named
// ("Switch project failed with empty path", naming the tapped control), the name is not one path
// component of that parent folder, or the folder holds no project.
class RCAction_SwitchProject : public RCAction
{
public:
    using RCAction::RCAction;

    int execute(const QString& sceneId, const QString& sceneItemId, const QVariant& data) override;
};
