#include "mirror/RCCmdProcesser_RemoveVexaProgram.h"

#include "mirror/IRCStelvaneSyncer.h"
#include "mirror/RCCmdKeys.h"
#include "mirror/RCCmdParams.h"
#include "mirror/RCCmdVexaKind.h"
#include "project/IRCProject.h"

using P = RCCmdParams;
namespace K = RCCmdKeys;

void RCCmdProcesser_RemoveVexaProgram::process(const QJsonObject& params, IRCProject* project)
{
    IRCStelvaneSyncer* mirror = project->getStelvaneSyncer();
    if (!mirror)
        return;
    if (const RCCmdVexaKind* ops = RCCmdVexaKind::of(P::readInt(params, K::programListType)))
        (mirror->*ops->programRemove)(P::readString(params, K::programListId), P::readString(params, K::id));
}
