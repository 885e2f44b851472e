#include "actions/RCAction_RightAlignment.h"

#include "actions/RCSelectionGeometry.h"

int RCAction_RightAlignment::execute(const QString& sceneId, const QString& /*sceneItemId*/,
                                     const QVariant& /*data*/)
{
    return RCSelectionGeometry::alignEdges(sceneId, RCSelectionGeometry::Right);
}
