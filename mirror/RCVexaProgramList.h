#pragma once

#include "mirror/RCMirrorRecord.h"
#include "mirror/RCRecordCollection.h"
#include "mirror/RCVexaProgram.h"

#include <QList>

// A program list of a Vexa media server: "Name", "Id" and "ProgramListType", and its programs in
// order, filed by their "Id" (a program needs a non-empty id). The list's kind (video, audio,
// text) is the manager collection that holds it, not its own "ProgramListType".
// Owns its programs. Owned by RCVexaProgramManager; GUI thread only.
class RCVexaProgramList : public RCMirrorRecord
{
    Q_OBJECT

public:
    RCVexaProgramList(const QVariantMap& params, QObject* parent);

    RCVexaProgram* findProgram(QString id) const { return m_programs.find(id); }
    QList<RCVexaProgram*> getPrograms() const { return m_programs.ordered(); }
    int programCount() const { return m_programs.count(); }
    // The program filed under params' "Id" (the one already there, unchanged), or a new one
    // appended; null for an empty id.
    RCVexaProgram* addProgram(QVariantMap params);
    // As addProgram, at position index (clamped to 0..count); a program already there takes the
    // values of params that differ, each announced.
    RCVexaProgram* insertProgram(QVariantMap params, int index);
    // Announces the program while it still exists, then deletes it.
    void removeProgram(QString id);

Q_SIGNALS:
    void programPropertyChanged(RCVexaProgram* program, QString sProName, QVariant value);
    void programAdd(RCVexaProgram* program, int index);
    void programRemove(RCVexaProgram* program);

private:
    RCVexaProgram* fileProgram(const QVariantMap& params, int index, bool updateExisting);

    RCRecordCollection<RCVexaProgram> m_programs;
};
