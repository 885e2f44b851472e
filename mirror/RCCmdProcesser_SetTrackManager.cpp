#include "mirror/RCCmdProcesser_SetTrackManager.h"

#include "mirror/IRCStelvaneSyncer.h"
#include "mirror/RCCmdKeys.h"
#include "mirror/RCCmdParams.h"
#include "mirror/RCCmdRecordMaps.h"
#include "project/IRCProject.h"

using P = RCCmdParams;
namespace K = RCCmdKeys;

void RCCmdProcesser_SetTrackManager::process(const QJsonObject& params, IRCProject* project)
{
    IRCStelvaneSyncer* mirror = project->getStelvaneSyncer();
    if (!mirror)
        return;
    mirror->clearTrack();
    for (const QJsonValue element : P::readArray(params, K::trackArray))
        mirror->addTrack(RCCmdRecordMaps::track(P::elementObject(element)));
    mirror->setDownloadStepComplete(1);
}
