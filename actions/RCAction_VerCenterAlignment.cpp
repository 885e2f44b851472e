#include "actions/RCAction_VerCenterAlignment.h"

#include "actions/RCSelectionGeometry.h"

int RCAction_VerCenterAlignment::execute(const QString& sceneId, const QString& /*sceneItemId*/,
                                         const QVariant& /*data*/)
{
    return RCSelectionGeometry::alignCentres(sceneId, RCSelectionGeometry::Horizontal);
}
