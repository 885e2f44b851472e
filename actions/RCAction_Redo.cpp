#include "actions/RCAction_Redo.h"

#include "editing/Platform.h"

int RCAction_Redo::execute(const QString& /*sceneId*/, const QString& /*sceneItemId*/,
                           const QVariant& /*data*/)
{
    Platform::instance()->redo();
    return 0;
}
