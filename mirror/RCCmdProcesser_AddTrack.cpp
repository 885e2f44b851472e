#include "mirror/RCCmdProcesser_AddTrack.h"

#include "mirror/IRCStelvaneSyncer.h"
#include "mirror/RCCmdKeys.h"
#include "mirror/RCCmdParams.h"
#include "mirror/RCCmdRecordMaps.h"
#include "project/IRCProject.h"

using P = RCCmdParams;
namespace K = RCCmdKeys;

void RCCmdProcesser_AddTrack::process(const QJsonObject& params, IRCProject* project)
{
    IRCStelvaneSyncer* mirror = project->getStelvaneSyncer();
    if (!mirror)
        return;
    const QVariantMap track = RCCmdRecordMaps::track(params);
    if (P::has(params, K::index))
        mirror->insertTrack(track, P::readInt(params, K::index));
    else
        mirror->addTrack(track);
}
