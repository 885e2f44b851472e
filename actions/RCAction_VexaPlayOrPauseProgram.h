#pragma once

#include "actions/RCAction.h"

// Sends "playOrPauseVexaProgram": Plays or pauses the Vexa list of the item's "ProgramListType".
class RCAction_VexaPlayOrPauseProgram : public RCAction
{
public:
    using RCAction::RCAction;

    int execute(const QString& sceneId, const QString& sceneItemId, const QVariant& data) override;
};
