#include "actions/RCAction_GetProgramTable.h"

int RCAction_GetProgramTable::execute(const QString& /*sceneId*/, const QString& /*sceneItemId*/,
                                      const QVariant& /*data*/)
{
    return sendCommand(QStringLiteral("getProgramTable"));
}
