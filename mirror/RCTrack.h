#pragma once

#include "mirror/RCMirrorRecord.h"
#include "mirror/RCRecordCollection.h"
#include "mirror/RCTrackProgram.h"

// A track of the media server: "Name", "Id", "Progress", "Length" and "State" (the play state),
// and its programs in order, filed by the "Id" they were added with (an empty id is allowed).
// Owns its programs; destroying the track destroys them without programRemoved. Owned by
// RCTrackManager; GUI thread only.
class RCTrack : public RCMirrorRecord
{
    Q_OBJECT

public:
    RCTrack(const QVariantMap& params, QObject* parent);

    // The program filed under params' "Id": the one already there (nothing changes), or a new one
    // inserted before position index, clamped to 0..count, and announced with the position it took.
    RCTrackProgram* insertProgram(QVariantMap params, int index);
    void removeProgram(QString sProgramId);
    RCTrackProgram* findProgram(const QString& sProgramId) const { return m_programs.find(sProgramId); }
    int programCount() const { return m_programs.count(); }
    // Filing id of the i-th program; "" unless 0 <= i < count.
    QString programIdAt(int i) const { return m_programs.idAt(i); }

Q_SIGNALS:
    void programAdded(RCTrackProgram* program, int index);
    void programRemoved(RCTrackProgram* program);
    void programPropertyChanged(RCTrackProgram* program, QString sProName, QVariant value);

private:
    RCRecordCollection<RCTrackProgram> m_programs;
};
