#include "mirror/RCCmdProcesser_ConnectVerifyAsk.h"

#include "project/IRCProject.h"

void RCCmdProcesser_ConnectVerifyAsk::process(const QJsonObject& params, IRCProject* project)
{
    Q_UNUSED(params);
    Q_EMIT project->connectVerifyAsk();
}
