#include "mirror/RCCmdProcesser_AddProgramLayer.h"

#include "mirror/IRCStelvaneSyncer.h"
#include "mirror/RCCmdKeys.h"
#include "mirror/RCCmdParams.h"
#include "mirror/RCCmdRecordMaps.h"
#include "project/IRCProject.h"

using P = RCCmdParams;
namespace K = RCCmdKeys;

void RCCmdProcesser_AddProgramLayer::process(const QJsonObject& params, IRCProject* project)
{
    IRCStelvaneSyncer* mirror = project->getStelvaneSyncer();
    if (!mirror)
        return;
    const QVariantMap layer = RCCmdRecordMaps::layer(params);
    if (P::has(params, K::index))
        mirror->insertProgramLayer(P::readInt(params, K::index), layer);
    else
        mirror->addProgramLayer(layer);
    Q_EMIT mirror->programTableUpdate();
}
