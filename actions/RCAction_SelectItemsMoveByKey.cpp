#include "actions/RCAction_SelectItemsMoveByKey.h"

#include "actions/RCSelectionGeometry.h"

int RCAction_SelectItemsMoveByKey::execute(const QString& sceneId, const QString& /*sceneItemId*/,
                                           const QVariant& data)
{
    return RCSelectionGeometry::moveByKey(sceneId, data.toInt());
}
