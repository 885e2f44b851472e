#include "actions/RCAction_HorBisectorAlignment.h"

#include "actions/RCSelectionGeometry.h"

int RCAction_HorBisectorAlignment::execute(const QString& sceneId, const QString& /*sceneItemId*/,
                                           const QVariant& /*data*/)
{
    return RCSelectionGeometry::distribute(sceneId, RCSelectionGeometry::Horizontal);
}
