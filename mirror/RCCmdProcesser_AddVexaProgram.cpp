#include "mirror/RCCmdProcesser_AddVexaProgram.h"

#include "mirror/IRCStelvaneSyncer.h"
#include "mirror/RCCmdKeys.h"
#include "mirror/RCCmdParams.h"
#include "mirror/RCCmdRecordMaps.h"
#include "mirror/RCCmdVexaKind.h"
#include "project/IRCProject.h"

using P = RCCmdParams;
namespace K = RCCmdKeys;

void RCCmdProcesser_AddVexaProgram::process(const QJsonObject& params, IRCProject* project)
{
    IRCStelvaneSyncer* mirror = project->getStelvaneSyncer();
    if (!mirror)
        return;
    if (const RCCmdVexaKind* ops = RCCmdVexaKind::of(P::readInt(params, K::programListType))) {
        (mirror->*ops->programInsert)(P::readString(params, K::programListId),
                                      RCCmdRecordMaps::vexaProgram(params), P::readInt(params, K::index));
    }
}
