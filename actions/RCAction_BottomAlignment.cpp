#include "actions/RCAction_BottomAlignment.h"

#include "actions/RCSelectionGeometry.h"

int RCAction_BottomAlignment::execute(const QString& sceneId, const QString& /*sceneItemId*/,
                                      const QVariant& /*data*/)
{
    return RCSelectionGeometry::alignEdges(sceneId, RCSelectionGeometry::Bottom);
}
