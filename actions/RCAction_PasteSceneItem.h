#pragma once

#include "actions/RCAction.h"

// Pastes the scene items on the clipboard into the scene as one undo step: each well-formed item
// gets a new "Id" and lands 10 units right of and below where it was copied (the offset is part of
// the recorded item, so redo restores the same copies); afterwards exactly the pasted items are
// selected. -1, changing nothing, without a scene id or with no well-formed item on the clipboard.
// The payload (the point where the paste was asked for) is not used.
class RCAction_PasteSceneItem : public RCAction
{
public:
    using RCAction::RCAction;

    int execute(const QString& sceneId, const QString& sceneItemId, const QVariant& data) override;
};
