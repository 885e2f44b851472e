#pragma once

#include "actions/RCAction.h"

// Sends "playNextVexaProgram": Plays the next program of the Vexa list of the item's "ProgramListType".
class RCAction_VexaPlayNextProgram : public RCAction
{
public:
    using RCAction::RCAction;

    int execute(const QString& sceneId, const QString& sceneItemId, const QVariant& data) override;
};
