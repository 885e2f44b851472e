#include "actions/RCAction_HorCenterAlignment.h"

#include "actions/RCSelectionGeometry.h"

int RCAction_HorCenterAlignment::execute(const QString& sceneId, const QString& /*sceneItemId*/,
                                         const QVariant& /*data*/)
{
    return RCSelectionGeometry::alignCentres(sceneId, RCSelectionGeometry::Vertical);
}
