#include "mirror/RCCmdProcesser_UpdateProgram.h"

#include "mirror/IRCStelvaneSyncer.h"
#include "mirror/RCCmdKeys.h"
#include "mirror/RCCmdParams.h"
#include "project/IRCProject.h"

using P = RCCmdParams;
namespace K = RCCmdKeys;

void RCCmdProcesser_UpdateProgram::process(const QJsonObject& params, IRCProject* project)
{
    IRCStelvaneSyncer* mirror = project->getStelvaneSyncer();
    if (!mirror)
        return;
    const QString id = P::readString(params, K::id);
    if (P::has(params, K::name))
        mirror->setProgramName(id, P::readString(params, K::name));
    if (P::has(params, K::playState))
        mirror->setProgramState(id, P::readInt(params, K::playState));
}
