#include "mirror/RCCmdProcesser_SetProgramLayer.h"

#include "mirror/IRCStelvaneSyncer.h"
#include "mirror/RCCmdKeys.h"
#include "mirror/RCCmdParams.h"
#include "model/RCKeys.h"
#include "project/IRCProject.h"

using P = RCCmdParams;
namespace K = RCCmdKeys;

void RCCmdProcesser_SetProgramLayer::process(const QJsonObject& params, IRCProject* project)
{
    IRCStelvaneSyncer* mirror = project->getStelvaneSyncer();
    if (!mirror)
        return;
    const QString id = P::readString(params, K::id);
    if (P::has(params, K::name))
        mirror->setProgramLayerName(id, P::readString(params, K::name));
    if (P::has(params, K::programLayerType))
        mirror->setProgramLayerPropertyValue(id, RCKeys::ProgramLayerType(),
                                             P::readInt(params, K::programLayerType));
}
