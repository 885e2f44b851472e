#pragma once

#include "mirror/RCRecordCollection.h"
#include "mirror/RCVexaProgramList.h"

#include <QList>
#include <QObject>
#include <QVariantMap>

#include <functional>

// The mirror's copy of a Vexa media server's program lists, of three kinds: video, audio and
// text, numbered as the wire's "programListType". Each kind keeps its lists in order, filed by
// "Id"; an id is unique within one kind only. Operations take the kind as their first argument;
// an unknown kind finds nothing and changes nothing. Every change is announced through the
// signals of its kind. Owns its lists. Child of the mirror; GUI thread only.
class RCVexaProgramManager : public QObject
{
    Q_OBJECT

public:
    enum EListKind
    {
        EListKind_Video = 0,
        EListKind_Audio = 1,
        EListKind_Text = 2
    };
    static constexpr int kKindCount = 3;

    explicit RCVexaProgramManager(QObject* parent = nullptr);

    // The list filed under params' "Id" in that kind (the one already there, unchanged), or a new
    // one appended; null for an empty id or an unknown kind.
    RCVexaProgramList* addProgramList(int kind, QVariantMap params);
    // As addProgramList, at position index (clamped to 0..count).
    RCVexaProgramList* insertProgramList(int kind, QVariantMap params, int index);
    // Announces the list while it still exists, then deletes it with its programs (without their
    // own remove signals).
    void removeProgramList(int kind, QString id);
    RCVexaProgramList* findProgramList(int kind, QString id) const;
    QList<RCVexaProgramList*> getProgramLists(int kind) const;
    // The first list (in order) holding a program whose state is not 0, and that program.
    RCVexaProgramList* getPlayingProgramList(int kind) const;
    RCVexaProgram* getPlayingProgram(int kind) const;

    // The video list of that id, else the audio one, else the text one; null when none.
    RCVexaProgramList* findProgramList(QString id) const;
    // The kind of the first list findProgramList finds; -1 when none.
    int getProgramListType(QString id) const;
    // Removes every video list front to back, then every audio list, then every text list.
    void clear();

Q_SIGNALS:
    void programListPropertyChanged(RCVexaProgramList* programList, QString sProName, QVariant value);
    void programPropertyChanged(RCVexaProgramList* programList, RCVexaProgram* program, QString sProName,
                                QVariant value);
    void videoProgramListAdd(RCVexaProgramList* programList, int index);
    void videoProgramListRemove(RCVexaProgramList* programList);
    void audioProgramListAdd(RCVexaProgramList* programList, int index);
    void audioProgramListRemove(RCVexaProgramList* programList);
    void textProgramListAdd(RCVexaProgramList* programList, int index);
    void textProgramListRemove(RCVexaProgramList* programList);
    void videoProgramAdd(RCVexaProgramList* programList, RCVexaProgram* program, int index);
    void videoProgramRemove(RCVexaProgramList* programList, RCVexaProgram* program);
    void audioProgramAdd(RCVexaProgramList* programList, RCVexaProgram* program, int index);
    void audioProgramRemove(RCVexaProgramList* programList, RCVexaProgram* program);
    void textProgramAdd(RCVexaProgramList* programList, RCVexaProgram* program, int index);
    void textProgramRemove(RCVexaProgramList* programList, RCVexaProgram* program);

public:
    // The four signals of one kind, for relays that treat the kinds alike.
    struct KindSignals
    {
        void (RCVexaProgramManager::*listAdd)(RCVexaProgramList*, int);
        void (RCVexaProgramManager::*listRemove)(RCVexaProgramList*);
        void (RCVexaProgramManager::*programAdd)(RCVexaProgramList*, RCVexaProgram*, int);
        void (RCVexaProgramManager::*programRemove)(RCVexaProgramList*, RCVexaProgram*);
    };
    // kind must be 0, 1 or 2.
    static const KindSignals& signalsOf(int kind);

private:
    static bool isKind(int kind) { return kind >= 0 && kind < kKindCount; }
    // Announces a removed list of that kind.
    std::function<void(const QString&, RCVexaProgramList*, int)> listRemoval(int kind);

    RCRecordCollection<RCVexaProgramList> m_lists[kKindCount];
};
