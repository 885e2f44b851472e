#include "mirror/RCCmdProcesser_AddVexaProgramList.h"

#include "mirror/IRCStelvaneSyncer.h"
#include "mirror/RCCmdKeys.h"
#include "mirror/RCCmdParams.h"
#include "mirror/RCCmdRecordMaps.h"
#include "mirror/RCCmdVexaKind.h"
#include "project/IRCProject.h"

using P = RCCmdParams;
namespace K = RCCmdKeys;

void RCCmdProcesser_AddVexaProgramList::process(const QJsonObject& params, IRCProject* project)
{
    IRCStelvaneSyncer* mirror = project->getStelvaneSyncer();
    if (!mirror)
        return;
    const RCCmdVexaKind* ops = RCCmdVexaKind::of(P::readInt(params, K::programListType));
    if (!ops)
        return;
    (mirror->*ops->listInsert)(RCCmdRecordMaps::vexaList(params), P::readInt(params, K::index));
    const QString listId = P::readString(params, K::id);
    for (const QJsonValue program : P::readArray(params, K::programArray))
        (mirror->*ops->programAdd)(listId, RCCmdRecordMaps::vexaProgram(P::elementObject(program)));
}
