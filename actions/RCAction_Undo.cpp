#include "actions/RCAction_Undo.h"

#include "editing/Platform.h"

int RCAction_Undo::execute(const QString& /*sceneId*/, const QString& /*sceneItemId*/,
                           const QVariant& /*data*/)
{
    Platform::instance()->undo();
    return 0;
}
