#include "mirror/RCCmdProcesser_SetTrackProgram.h"

#include "mirror/IRCStelvaneSyncer.h"
#include "mirror/RCCmdKeys.h"
#include "mirror/RCCmdParams.h"
#include "model/RCKeys.h"
#include "project/IRCProject.h"

using P = RCCmdParams;
namespace K = RCCmdKeys;

void RCCmdProcesser_SetTrackProgram::process(const QJsonObject& params, IRCProject* project)
{
    IRCStelvaneSyncer* mirror = project->getStelvaneSyncer();
    if (!mirror)
        return;
    const QString trackId = P::readString(params, K::trackId);
    const QString id = P::readString(params, K::id);
    P::forEachPresent(params,
                      {{K::name, RCKeys::Name(), P::EType_String},
                       {K::playState, RCKeys::State(), P::EType_Int},
                       {K::countdownTime, RCKeys::CountdownTime(), P::EType_Double}},
                      [mirror, &trackId, &id](const QString& key, const QVariant& value) {
                          mirror->setTrackProgramProperty(trackId, id, key, value);
                      });
}
