#include "actions/RCAction_RandPlay.h"

#include "mirror/IRCStelvaneSyncer.h"
#include "model/RCKeys.h"

RCAction_RandPlay::RCAction_RandPlay(IRCActionManager* manager)
    : RCAction(manager), m_random(QRandomGenerator::securelySeeded())
{
}

RCAction_RandPlay::RCAction_RandPlay(IRCActionManager* manager, quint32 seed)
    : RCAction(manager), m_random(seed)
{
}

int RCAction_RandPlay::execute(const QString& sceneId, const QString& sceneItemId, const QVariant& /*data*/)
{
    if (!project() || !terminal())
        return -1;
    QStringList names = itemTrackNames(sceneId, sceneItemId);
    if (names.isEmpty())
        return -1;
    IRCStelvaneSyncer* syncer = mirror();
    const int count = syncer->getTrackCount();
    auto nameOf = [syncer](const QString& id) {
        return syncer->getTrackProperty(id, RCKeys::Name()).toString();
    };

    QString current;
    for (int i = 0; i < count; ++i) {
        const QString id = syncer->getTrack(i);
        if (syncer->getTrackProperty(id, RCKeys::State()).toInt() == 1 && names.contains(nameOf(id))) {
            current = nameOf(id);
            break;
        }
    }
    // Neither the playing track nor an empty entry (which names no track) is drawn.
    names.removeAll(current);
    names.removeAll(QString());
    if (names.isEmpty())
        return 0;
    const QString chosen = names.takeAt(int(m_random.bounded(quint32(names.size()))));

    for (int i = 0; i < count; ++i) {
        const QString id = syncer->getTrack(i);
        const QString name = nameOf(id);
        int playState = -1;
        if (name == chosen)
            playState = 1;
        else if (names.contains(name) || (!current.isEmpty() && name == current))
            playState = 0;
        if (playState >= 0)
            sendCommand(QStringLiteral("setTrack"),
                        QJsonObject{{QStringLiteral("id"), id}, {QStringLiteral("playState"), playState}});
    }
    return 0;
}
