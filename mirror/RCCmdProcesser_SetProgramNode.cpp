#include "mirror/RCCmdProcesser_SetProgramNode.h"

#include "mirror/IRCStelvaneSyncer.h"
#include "mirror/RCCmdImageDecoder.h"
#include "mirror/RCCmdKeys.h"
#include "mirror/RCCmdParams.h"
#include "model/RCKeys.h"
#include "project/IRCProject.h"

using P = RCCmdParams;
namespace K = RCCmdKeys;

void RCCmdProcesser_SetProgramNode::process(const QJsonObject& params, IRCProject* project)
{
    IRCStelvaneSyncer* mirror = project->getStelvaneSyncer();
    if (!mirror)
        return;
    const QString id = P::readString(params, K::id);
    if (P::has(params, K::name))
        mirror->setProgramNodeName(id, P::readString(params, K::name));
    if (P::has(params, K::playState))
        mirror->setProgramNodeState(id, P::readInt(params, K::playState));
    const auto set = [mirror, &id](const QString& key, const QVariant& value) {
        mirror->setProgramNodePropertyValue(id, key, value);
    };
    P::forEachPresent(params,
                      {{K::length, RCKeys::Length(), P::EType_Int},
                       {K::progress, RCKeys::Progress(), P::EType_Int},
                       {K::programLayerId, RCKeys::ProgramLayerId(), P::EType_String},
                       {K::programIdArray, RCKeys::ProgramIdList(), P::EType_StringList}},
                      set);
    if (P::has(params, K::thumbnail))
        set(RCKeys::Thumbnail(), RCCmdImageDecoder::decode(P::readString(params, K::thumbnail),
                                                           RCCmdImageDecoder::EImageKind_Thumbnail));
    P::forEachPresent(params, {{K::programNodeTitle, RCKeys::ProgramNodeTitle(), P::EType_String}}, set);
}
