#pragma once

#include "actions/RCAction.h"

// Copies the selected items of the scene to the system clipboard under the format "sceneItem":
// binary JSON of {"sceneItemArray": [each item's JSON as the project file holds it]}. -1 when the
// application has no clipboard (no GUI application).
class RCAction_CopySceneItem : public RCAction
{
public:
    using RCAction::RCAction;

    int execute(const QString& sceneId, const QString& sceneItemId, const QVariant& data) override;
};
