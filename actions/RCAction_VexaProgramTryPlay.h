#pragma once

#include "actions/RCAction.h"

// Sends "setVexaProgram" asking a Vexa program to play: data {"programListId", "programId"}.
class RCAction_VexaProgramTryPlay : public RCAction
{
public:
    using RCAction::RCAction;

    int execute(const QString& sceneId, const QString& sceneItemId, const QVariant& data) override;
};
