#include "mirror/RCCmdProcesser_SetVexaProgramList.h"

#include "mirror/IRCStelvaneSyncer.h"
#include "mirror/RCCmdKeys.h"
#include "mirror/RCCmdParams.h"
#include "model/RCKeys.h"
#include "project/IRCProject.h"

using P = RCCmdParams;
namespace K = RCCmdKeys;

void RCCmdProcesser_SetVexaProgramList::process(const QJsonObject& params, IRCProject* project)
{
    IRCStelvaneSyncer* mirror = project->getStelvaneSyncer();
    if (!mirror)
        return;
    if (P::has(params, K::name))
        mirror->setVexaProgramListProperty(P::readString(params, K::id), RCKeys::Name(),
                                           P::readString(params, K::name));
}
