#include "actions/RCAction_SetProgramNode.h"

int RCAction_SetProgramNode::execute(const QString& /*sceneId*/, const QString& /*sceneItemId*/,
                                     const QVariant& data)
{
    return sendCommand(QStringLiteral("setProgramNode"), toCommandParams(data.toMap()));
}
