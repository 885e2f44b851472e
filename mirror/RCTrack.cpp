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
    auto* program = new RCTrackProgram(params, this);
    const int at = m_programs.insert(programId, program, index);
    connect(program, &RCMirrorRecord::propertyChanged, this,
            [this, program](const QString& sProName, const QVariant& value) {
                Q_EMIT programPropertyChanged(program, sProName, value);
            });
    Q_EMIT programAdded(program, at);
    return program;
}

void RCTrack::removeProgram(QString sProgramId)
{
    RCTrackProgram* program = m_programs.take(sProgramId);
    if (!program)
        return;
    Q_EMIT programRemoved(program);
    delete program;
}
