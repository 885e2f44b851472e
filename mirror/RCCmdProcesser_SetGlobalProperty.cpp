#include "mirror/RCCmdProcesser_SetGlobalProperty.h"

#include "mirror/IRCStelvaneSyncer.h"
#include "mirror/RCCmdKeys.h"
#include "mirror/RCCmdParams.h"
#include "model/RCKeys.h"
#include "project/IRCProject.h"

using P = RCCmdParams;
namespace K = RCCmdKeys;

void RCCmdProcesser_SetGlobalProperty::process(const QJsonObject& params, IRCProject* project)
{
    IRCStelvaneSyncer* mirror = project->getStelvaneSyncer();
    if (!mirror)
        return;
    if (P::has(params, K::stageLink))
        mirror->setStageLink(P::readBool(params, K::stageLink));
    P::forEachPresent(
        params,
        {{K::standby, RCKeys::Standby(), P::EType_Bool},
         {K::volume, RCKeys::Volume(), P::EType_Double},
         {K::brightness, RCKeys::Brightness(), P::EType_Int},
         {K::displayOutputState, RCKeys::DisplayOpen(), P::EType_Bool}},
        [mirror](const QString& key, const QVariant& value) { mirror->setGlobalProperty(key, value); });
}
