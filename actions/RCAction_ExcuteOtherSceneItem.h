#pragma once

#include "actions/RCAction.h"

// Runs another item as if it had been tapped: data {"SceneName", "SceneItemName"} names the first
// scene of that "Name" and, in it, the first item of that "ObjectName"; the item presenter's
// itemExecute reaches the item executor, which runs the item's action inside this call. Unknown
// names do nothing. Items that execute each other are cut off after kMaxNesting nested runs (-1
// and a warning), so a self-executing item cannot exhaust the stack.
class RCAction_ExcuteOtherSceneItem : public RCAction
{
public:
    static constexpr int kMaxNesting = 16;

    using RCAction::RCAction;

    int execute(const QString& sceneId, const QString& sceneItemId, const QVariant& data) override;

private:
    int m_depth = 0;
};
