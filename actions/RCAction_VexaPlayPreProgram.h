#pragma once

#include "actions/RCAction.h"

// Sends "playPreVexaProgram": Plays the previous program of the Vexa list of the item's "ProgramListType".
class RCAction_VexaPlayPreProgram : public RCAction
{
public:
    using RCAction::RCAction;

    int execute(const QString& sceneId, const QString& sceneItemId, const QVariant& data) override;
};
