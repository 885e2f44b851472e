#include "mirror/RCCmdProcesser_SetTrack.h"

#include "mirror/IRCStelvaneSyncer.h"
#include "mirror/RCCmdKeys.h"
#include "mirror/RCCmdParams.h"
#include "model/RCKeys.h"
#include "project/IRCProject.h"

using P = RCCmdParams;
namespace K = RCCmdKeys;

void RCCmdProcesser_SetTrack::process(const QJsonObject& params, IRCProject* project)
{
    IRCStelvaneSyncer* mirror = project->getStelvaneSyncer();
    if (!mirror)
        return;
    const QString id = P::readString(params, K::id);
    P::forEachPresent(params,
                      {{K::name, RCKeys::Name(), P::EType_String},
                       {K::playState, RCKeys::State(), P::EType_Int},
                       {K::progress, RCKeys::Progress(), P::EType_Int}},
                      [mirror, &id](const QString& key, const QVariant& value) {
                          mirror->setTrackProperty(id, key, value);
                      });
}
