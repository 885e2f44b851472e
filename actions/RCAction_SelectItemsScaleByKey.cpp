#include "actions/RCAction_SelectItemsScaleByKey.h"

#include "actions/RCSelectionGeometry.h"

int RCAction_SelectItemsScaleByKey::execute(const QString& sceneId, const QString& /*sceneItemId*/,
                                            const QVariant& data)
{
    return RCSelectionGeometry::scaleByKey(sceneId, data.toInt());
}
