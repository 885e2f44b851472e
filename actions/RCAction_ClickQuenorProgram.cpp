#include "actions/RCAction_ClickQuenorProgram.h"

#include "mirror/IRCStelvaneSyncer.h"
#include "model/RCKeys.h"

int RCAction_ClickQuenorProgram::execute(const QString& /*sceneId*/, const QString& /*sceneItemId*/,
                                         const QVariant& data)
{
    if (!project() || !terminal())
        return -1;
    const QVariantMap map = data.toMap();
    const QString trackId = map.value(RCKeys::TrackId()).toString();
    const QString programId = map.value(RCKeys::ProgramId()).toString();
    IRCStelvaneSyncer* syncer = mirror();
    const QVariant own = syncer->getTrackProgramProperty(trackId, programId, RCKeys::State());
    const int state = own.isValid() && !own.isNull() ? own.toInt() : syncer->getProgramState(programId);
    const int playState = (state == 0 || state == 2) ? 1 : 2;
    return sendCommand(QStringLiteral("setTrackProgram"),
                       QJsonObject{{QStringLiteral("trackId"), trackId},
                                   {QStringLiteral("id"), programId},
                                   {QStringLiteral("playState"), playState}});
}
