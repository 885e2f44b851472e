#include "mirror/RCCmdProcesser_RemoveProgramLayer.h"

#include "mirror/IRCStelvaneSyncer.h"
#include "mirror/RCCmdKeys.h"
#include "mirror/RCCmdParams.h"
#include "project/IRCProject.h"

using P = RCCmdParams;
namespace K = RCCmdKeys;

void RCCmdProcesser_RemoveProgramLayer::process(const QJsonObject& params, IRCProject* project)
{
    IRCStelvaneSyncer* mirror = project->getStelvaneSyncer();
    if (!mirror)
        return;
    mirror->removeProgramLayer(P::readString(params, K::id));
    Q_EMIT mirror->programTableUpdate();
}
