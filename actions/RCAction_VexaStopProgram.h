#pragma once

#include "actions/RCAction.h"

// Sends "stopVexaProgram": Stops the Vexa list of the item's "ProgramListType".
class RCAction_VexaStopProgram : public RCAction
{
public:
    using RCAction::RCAction;

    int execute(const QString& sceneId, const QString& sceneItemId, const QVariant& data) override;
};
