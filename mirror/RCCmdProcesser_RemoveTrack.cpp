#include "mirror/RCCmdProcesser_RemoveTrack.h"

#include "mirror/IRCStelvaneSyncer.h"
#include "mirror/RCCmdKeys.h"
#include "mirror/RCCmdParams.h"
#include "project/IRCProject.h"

using P = RCCmdParams;
namespace K = RCCmdKeys;

void RCCmdProcesser_RemoveTrack::process(const QJsonObject& params, IRCProject* project)
{
    IRCStelvaneSyncer* mirror = project->getStelvaneSyncer();
    if (!mirror)
        return;
    mirror->removeTrack(P::readString(params, K::id));
}
