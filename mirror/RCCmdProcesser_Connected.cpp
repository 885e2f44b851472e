#include "mirror/RCCmdProcesser_Connected.h"

#include "network/IRCTerminal.h"
#include "project/IRCProject.h"

void RCCmdProcesser_Connected::process(const QJsonObject& params, IRCProject* project)
{
    Q_UNUSED(params);
    IRCTerminal* terminal = project->getTerminal();
    Q_EMIT project->connectToHost(terminal ? terminal->getConnectIp() : QString());
}
