#include "actions/RCAction_VerBisectorAlignment.h"

#include "actions/RCSelectionGeometry.h"

int RCAction_VerBisectorAlignment::execute(const QString& sceneId, const QString& /*sceneItemId*/,
                                           const QVariant& /*data*/)
{
    return RCSelectionGeometry::distribute(sceneId, RCSelectionGeometry::Vertical);
}
