#include "mirror/RCCmdProcesser_UpdateProgramTable.h"

#include "mirror/IRCStelvaneSyncer.h"
#include "mirror/RCCmdKeys.h"
#include "mirror/RCCmdParams.h"
#include "mirror/RCCmdRecordMaps.h"
#include "project/IRCProject.h"

using P = RCCmdParams;
namespace K = RCCmdKeys;

void RCCmdProcesser_UpdateProgramTable::process(const QJsonObject& params, IRCProject* project)
{
    IRCStelvaneSyncer* mirror = project->getStelvaneSyncer();
    if (!mirror)
        return;
    mirror->clearProgramNode();
    mirror->clearProgramLayer();
    mirror->clearProgram();
    for (const QJsonValue element : P::readArray(params, K::programArray))
        mirror->addProgram(RCCmdRecordMaps::program(P::elementObject(element)));
    for (const QJsonValue element : P::readArray(params, K::programLayerArray))
        mirror->addProgramLayer(RCCmdRecordMaps::layer(P::elementObject(element)));
    for (const QJsonValue element : P::readArray(params, K::programNodeArray))
        mirror->addProgramNode(RCCmdRecordMaps::node(P::elementObject(element)));
    Q_EMIT mirror->programTableUpdate();
    mirror->setDownloadStepComplete(0);
}
