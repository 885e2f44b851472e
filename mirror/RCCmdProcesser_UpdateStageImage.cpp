#include "mirror/RCCmdProcesser_UpdateStageImage.h"

#include "mirror/IRCStelvaneSyncer.h"
#include "mirror/RCCmdImageDecoder.h"
#include "mirror/RCCmdKeys.h"
#include "mirror/RCCmdParams.h"
#include "project/IRCProject.h"

using P = RCCmdParams;
namespace K = RCCmdKeys;

void RCCmdProcesser_UpdateStageImage::process(const QJsonObject& params, IRCProject* project)
{
    IRCStelvaneSyncer* mirror = project->getStelvaneSyncer();
    if (!mirror)
        return;
    mirror->setStageImage(
        RCCmdImageDecoder::decode(P::readString(params, K::stageImage), RCCmdImageDecoder::EImageKind_Stage));
}
