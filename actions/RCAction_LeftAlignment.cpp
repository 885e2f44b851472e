#include "actions/RCAction_LeftAlignment.h"

#include "actions/RCSelectionGeometry.h"

int RCAction_LeftAlignment::execute(const QString& sceneId, const QString& /*sceneItemId*/,
                                    const QVariant& /*data*/)
{
    return RCSelectionGeometry::alignEdges(sceneId, RCSelectionGeometry::Left);
}
