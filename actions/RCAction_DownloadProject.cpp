#include "actions/RCAction_DownloadProject.h"

#include "mirror/IRCStelvaneSyncer.h"

int RCAction_DownloadProject::execute(const QString& /*sceneId*/, const QString& /*sceneItemId*/,
                                      const QVariant& data)
{
    if (!terminal())
        return -1;
    const int setUid = data.toInt();
    // The mirror remembers the number first, so that the server's answer is known as this panel's.
    if (IRCStelvaneSyncer* syncer = mirror())
        syncer->addProjectRequest(setUid);
    return sendCommand(QStringLiteral("getProject"), QJsonObject{{QStringLiteral("id"), setUid}});
}
