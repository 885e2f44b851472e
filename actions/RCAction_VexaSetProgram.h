#pragma once

#include "actions/RCAction.h"

// Sends "setVexaProgram" for the playing Vexa program's progress ({"Progress", "ProgramListType"}): the data
// map under its command keys.
class RCAction_VexaSetProgram : public RCAction
{
public:
    using RCAction::RCAction;

    int execute(const QString& sceneId, const QString& sceneItemId, const QVariant& data) override;
};
