#include "mirror/RCTrack.h"

#include "model/RCKeys.h"

RCTrack::RCTrack(const QVariantMap& params, QObject* parent)
    : RCMirrorRecord({RCKeys::Name(), RCKeys::Id(), RCKeys::Progress(), RCKeys::Length(), RCKeys::State()},
                     params, parent)
{
    qRegisterMetaType<RCTrackProgram*>();
}

RCTrackProgram* RCTrack::insertProgram(QVariantMap params, int index)
{
    const QString programId = params.value(RCKeys::Id()).toString();
    if (RCTrackProgram* existing = m_programs.find(programId))
        return existing;
    return fileChildRecord(this, m_programs, programId, params, index, &RCTrack::programPropertyChanged,
                           &RCTrack::programAdded);
}

void RCTrack::removeProgram(QString sProgramId)
{
    m_programs.remove(
        sProgramId, [this](const QString&, RCTrackProgram* program, int) { Q_EMIT programRemoved(program); });
}
