#pragma once

#include "mirror/RCRecordCollection.h"
#include "mirror/RCTrack.h"

#include <QObject>
#include <QVariantMap>

// The mirror's copy of the media server's tracks, in the server's order and filed by "Id" (exact,
// case-sensitive), each with its ordered programs. Every change is announced; the relays read the
// track's and the program's "Id" at the moment of the signal. Unknown ids give neutral answers
// and change nothing; insert positions are clamped to 0..count and the signals carry the position
// taken. A track's "Id" is its filing key and cannot be changed through setTrackProperty.
// Owns its tracks. Child of the mirror; GUI thread only.
class RCTrackManager : public QObject
{
    Q_OBJECT

public:
    explicit RCTrackManager(QObject* parent = nullptr);

    // Refuse an empty id and an id already filed.
    bool addTrack(QVariantMap params);
    bool insertTrack(QVariantMap params, int index);
    void removeTrack(QString sId);
    // Removes the first track until none is left.
    void clearTrack();
    int getTrackCount() const { return m_tracks.count(); }
    QString getTrack(int i) const;
    QVariant getTrackProperty(QString sId, QString sProName) const;
    bool setTrackProperty(QString sId, QString sProName, QVariant value);
    QVariant getTrackPropertyByName(QString sName, QString sProName) const;
    QString getTrackIdByName(QString sTrackName) const;

    // False only for an unknown track; a program id the track already holds changes nothing.
    bool addTrackProgram(QString sTrackId, QVariantMap params);
    bool insertTrackProgram(QString sTrackId, QVariantMap params, int index);
    void removeTrackProgram(QString sTrackId, QString sProgramId);
    int getTrackProgramCount(QString sTrackId) const;
    QString getTrackProgram(QString sTrackId, int i) const;
    QVariant getTrackProgramProperty(QString sTrackId, QString sProgramId, QString sProName) const;
    // Stores and announces also a value equal to the stored one.
    bool setTrackProgramProperty(QString sTrackId, QString sProgramId, QString sProName, QVariant value);

Q_SIGNALS:
    void trackAdd(QString sId);
    void trackInsert(QString sId, int index);
    void trackRemove(QString sId);
    void trackPropertyChanged(QString sId, QString sProName, QVariant value);
    void programAdded(QString sTrackId, QString sProgramId, int index);
    void programRemoved(QString sTrackId, QString sProgramId);
    void programPropertyChanged(QString sTrackId, QString sProgramId, QString sProName, QVariant value);

private:
    // Files a new track at index and answers the position it took; -1 when refused.
    int fileTrack(const QVariantMap& params, int index);
    RCTrack* trackByName(const QString& sName) const;

    RCRecordCollection<RCTrack> m_tracks;
};
