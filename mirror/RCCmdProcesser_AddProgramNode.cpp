#include "mirror/RCCmdProcesser_AddProgramNode.h"

#include "mirror/IRCStelvaneSyncer.h"
#include "mirror/RCCmdRecordMaps.h"
#include "project/IRCProject.h"

void RCCmdProcesser_AddProgramNode::process(const QJsonObject& params, IRCProject* project)
{
    IRCStelvaneSyncer* mirror = project->getStelvaneSyncer();
    if (!mirror)
        return;
    mirror->addProgramNode(RCCmdRecordMaps::node(params));
}
