#pragma once

#include "actions/RCAction.h"

// A tap on a program: sends "setProgram" {"id", "name": "playState", "value"} that plays the
// program (value 1) when the mirror has it stopped or paused, else pauses it (value 2). data: the
// program id.
class RCAction_ClickProgram : public RCAction
{
public:
    using RCAction::RCAction;

    int execute(const QString& sceneId, const QString& sceneItemId, const QVariant& data) override;
};
