#include "mirror/RCTrackManager.h"

#include "model/RCKeys.h"

RCTrackManager::RCTrackManager(QObject* parent) : QObject(parent) {}

int RCTrackManager::fileTrack(const QVariantMap& params, int index)
{
    const QString id = params.value(RCKeys::Id()).toString();
    if (id.isEmpty() || m_tracks.contains(id))
        return -1;
    auto* track = new RCTrack(params, this);
    const int at = m_tracks.insert(id, track, index);
    connect(track, &RCMirrorRecord::propertyChanged, this,
            [this, track](const QString& sProName, const QVariant& value) {
                Q_EMIT trackPropertyChanged(track->getId(), sProName, value);
            });
    connect(track, &RCTrack::programAdded, this, [this, track](RCTrackProgram* program, int index) {
        Q_EMIT programAdded(track->getId(), program->getId(), index);
    });
    connect(track, &RCTrack::programRemoved, this, [this, track](RCTrackProgram* program) {
        Q_EMIT programRemoved(track->getId(), program->getId());
    });
    connect(track, &RCTrack::programPropertyChanged, this,
            [this, track](RCTrackProgram* program, const QString& sProName, const QVariant& value) {
                Q_EMIT programPropertyChanged(track->getId(), program->getId(), sProName, value);
            });
    return at;
}

bool RCTrackManager::addTrack(QVariantMap params)
{
    if (fileTrack(params, getTrackCount()) < 0)
        return false;
    Q_EMIT trackAdd(params.value(RCKeys::Id()).toString());
    return true;
}

bool RCTrackManager::insertTrack(QVariantMap params, int index)
{
    const int at = fileTrack(params, index);
    if (at < 0)
        return false;
    Q_EMIT trackInsert(params.value(RCKeys::Id()).toString(), at);
    return true;
}

void RCTrackManager::removeTrack(QString sId)
{
    m_tracks.remove(sId, [this](const QString& id, RCTrack*, int) { Q_EMIT trackRemove(id); });
}

void RCTrackManager::clearTrack()
{
    m_tracks.clear([this](const QString& id, RCTrack*, int) { Q_EMIT trackRemove(id); });
}

QString RCTrackManager::getTrack(int i) const
{
    const RCTrack* track = m_tracks.at(i);
    return track ? track->getId() : QString();
}

QVariant RCTrackManager::getTrackProperty(QString sId, QString sProName) const
{
    const RCTrack* track = m_tracks.find(sId);
    return track ? track->getProperty(sProName) : QVariant();
}

bool RCTrackManager::setTrackProperty(QString sId, QString sProName, QVariant value)
{
    // The id files the track: changing it would leave the track unreachable under its new id.
    if (sProName == RCKeys::Id())
        return false;
    RCTrack* track = m_tracks.find(sId);
    return track && track->setProperty(sProName, value);
}

RCTrack* RCTrackManager::trackByName(const QString& sName) const
{
    for (RCTrack* track : m_tracks.ordered()) {
        if (track->getProperty(RCKeys::Name()).toString() == sName)
            return track;
    }
    return nullptr;
}

QVariant RCTrackManager::getTrackPropertyByName(QString sName, QString sProName) const
{
    const RCTrack* track = trackByName(sName);
    return track ? track->getProperty(sProName) : QVariant();
}

QString RCTrackManager::getTrackIdByName(QString sTrackName) const
{
    const RCTrack* track = trackByName(sTrackName);
    return track ? track->getId() : QString();
}

bool RCTrackManager::addTrackProgram(QString sTrackId, QVariantMap params)
{
    RCTrack* track = m_tracks.find(sTrackId);
    return track && track->insertProgram(params, track->programCount());
}

bool RCTrackManager::insertTrackProgram(QString sTrackId, QVariantMap params, int index)
{
    RCTrack* track = m_tracks.find(sTrackId);
    return track && track->insertProgram(params, index);
}

void RCTrackManager::removeTrackProgram(QString sTrackId, QString sProgramId)
{
    if (RCTrack* track = m_tracks.find(sTrackId))
        track->removeProgram(sProgramId);
}

int RCTrackManager::getTrackProgramCount(QString sTrackId) const
{
    const RCTrack* track = m_tracks.find(sTrackId);
    return track ? track->programCount() : 0;
}

QString RCTrackManager::getTrackProgram(QString sTrackId, int i) const
{
    const RCTrack* track = m_tracks.find(sTrackId);
    return track ? track->programIdAt(i) : QString();
}

QVariant RCTrackManager::getTrackProgramProperty(QString sTrackId, QString sProgramId, QString sProName) const
{
    const RCTrack* track = m_tracks.find(sTrackId);
    const RCTrackProgram* program = track ? track->findProgram(sProgramId) : nullptr;
    return program ? program->getProperty(sProName) : QVariant();
}

bool RCTrackManager::setTrackProgramProperty(QString sTrackId, QString sProgramId, QString sProName,
                                             QVariant value)
{
    RCTrack* track = m_tracks.find(sTrackId);
    RCTrackProgram* program = track ? track->findProgram(sProgramId) : nullptr;
    return program && program->storeProperty(sProName, value);
}
