#include "actions/RCAction_StopMultipleTrack.h"

#include "mirror/IRCStelvaneSyncer.h"
#include "model/RCKeys.h"

int RCAction_StopMultipleTrack::execute(const QString& sceneId, const QString& sceneItemId,
                                        const QVariant& /*data*/)
{
    if (!project() || !terminal())
        return -1;
    const QStringList names = itemTrackNames(sceneId, sceneItemId);
    if (names.isEmpty())
        return -1;
    IRCStelvaneSyncer* syncer = mirror();
    const int count = syncer->getTrackCount();
    for (int i = 0; i < count; ++i) {
        const QString id = syncer->getTrack(i);
        if (names.contains(syncer->getTrackProperty(id, RCKeys::Name()).toString()))
            sendCommand(QStringLiteral("setTrack"),
                        QJsonObject{{QStringLiteral("id"), id}, {QStringLiteral("playState"), 0}});
    }
    return 0;
}
