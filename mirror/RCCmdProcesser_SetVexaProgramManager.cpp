#include "mirror/RCCmdProcesser_SetVexaProgramManager.h"

#include "mirror/IRCStelvaneSyncer.h"
#include "mirror/RCCmdKeys.h"
#include "mirror/RCCmdParams.h"
#include "mirror/RCCmdRecordMaps.h"
#include "mirror/RCCmdVexaKind.h"
#include "model/RCKeys.h"
#include "project/IRCProject.h"

#include <iterator>

using P = RCCmdParams;
namespace K = RCCmdKeys;

void RCCmdProcesser_SetVexaProgramManager::process(const QJsonObject& params, IRCProject* project)
{
    IRCStelvaneSyncer* mirror = project->getStelvaneSyncer();
    if (!mirror)
        return;
    mirror->clearVexaProgramManager();
    const QLatin1String arrays[] = {K::videoProgramListArray, K::audioProgramListArray,
                                    K::textProgramListArray};
    for (int kind = 0; kind < int(std::size(arrays)); ++kind) {
        if (!P::has(params, arrays[kind]))
            continue;
        const RCCmdVexaKind* ops = RCCmdVexaKind::of(kind);
        for (const QJsonValue element : P::readArray(params, arrays[kind])) {
            const QJsonObject list = P::elementObject(element);
            QVariantMap listMap = RCCmdRecordMaps::vexaList(list);
            // What the server's lists have always carried, whatever their kind.
            listMap.insert(RCKeys::ProgramListType(), 0);
            (mirror->*ops->listAdd)(listMap);
            const QString listId = P::readString(list, K::id);
            for (const QJsonValue program : P::readArray(list, K::programArray))
                (mirror->*ops->programAdd)(listId, RCCmdRecordMaps::vexaProgram(P::elementObject(program)));
        }
    }
    mirror->setDownloadStepComplete(0);
}
