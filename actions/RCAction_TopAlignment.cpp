#include "actions/RCAction_TopAlignment.h"

#include "actions/RCSelectionGeometry.h"

int RCAction_TopAlignment::execute(const QString& sceneId, const QString& /*sceneItemId*/,
                                   const QVariant& /*data*/)
{
    return RCSelectionGeometry::alignEdges(sceneId, RCSelectionGeometry::Top);
}
