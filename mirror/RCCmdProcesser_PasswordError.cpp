#include "mirror/RCCmdProcesser_PasswordError.h"

#include "project/IRCProject.h"

void RCCmdProcesser_PasswordError::process(const QJsonObject& params, IRCProject* project)
{
    Q_UNUSED(params);
    Q_EMIT project->connectPasswordError();
}
