#pragma once

#include "editing/RCCommand.h"
#include "model/IRCCppObject.h"

#include <QElapsedTimer>
#include <QList>
#include <QMap>
#include <QString>

#include <functional>

class RCCommandGroup;

// The process-wide undo and redo histories (50 entries each, oldest dropped first), the merging of
// quick successive edits (a newer command stamped 0..500 ms after the last entry may fold into it),
// command groups that are undone and redone as one step, and a factory of command types by name.
//
// Owns every command in its histories and destroys each one it drops. Created on first use (the
// static registrations of the command types make it exist before main()), never deleted. GUI thread
// only; native callers only.
class RCCommandManager : public IRCCppObject
{
    Q_OBJECT
public:
    using Factory = RCCommand* (*)();
    // Monotonic milliseconds.
    using Clock = std::function<qint64()>;

    enum
    {
        UndoStack = 0,
        RedoStack = 1,
        HistoryCap = 50,
        MergeWindowMsecs = 500,
    };

    static RCCommandManager* instance();

    // Takes ownership of cmd. stack UndoStack: record it (into the open group if there is one);
    // clearRedo true then also empties the redo history, as every new edit must. stack RedoStack:
    // append it to the redo history.
    void push(RCCommand* cmd, int stack, bool clearRedo);
    void undo();
    void redo();
    bool canUndo() const;
    // true opens a group level, false closes one. Nested levels only count; the outer level makes
    // one history entry of everything recorded inside it, and none when nothing was recorded. An
    // unmatched close is ignored.
    void beginGroup(bool begin);
    void clear();
    void clearRedo();

    // Stores factory under typeName, replacing an existing entry. Returns 0.
    int registerCommand(const char* typeName, Factory factory);
    // A new command of the registered type, rebuilt from params; null when the type is unknown or
    // the command cannot be rebuilt. The caller owns the result.
    RCCommand* createCommand(const QString& typeName, const RCCommandParams& params);

    // The merge test between the kept command and a newer one. When newer is stamped 0..500 ms after
    // kept and kept absorbs it, kept takes newer's stamp, newer is destroyed and the answer is true;
    // otherwise nothing changes.
    bool tryMerge(RCCommand* kept, RCCommand* newer);

    qint64 now() const;
    // Replaces the monotonic clock that stamps commands; an empty clock restores the default.
    void setClock(Clock clock);

Q_SIGNALS:
    void undoCommandsEmptyChanged(bool isEmpty);
    void redoCommandsEmptyChanged(bool isEmpty);
    void haveOperatorRecord();
    void haveOperatorFallback();

private:
    explicit RCCommandManager(QObject* parent = nullptr);
    // Into the open group when there is one, else appendUndo().
    void pushUndo(RCCommand* cmd, bool mayMerge);
    // One history entry: cap, merge test, signals.
    void appendUndo(RCCommand* cmd, bool mayMerge);
    void pushRedo(RCCommand* cmd);
    // When entry is the open group leaving the history, starts a new, empty open group.
    void forgetOpenGroup(const RCCommand* entry);

    QList<RCCommand*> m_undo;
    QList<RCCommand*> m_redo;
    int m_groupDepth = 0;
    // The group of the outer open level. Owned here while it is still empty and not in the undo
    // history; owned by the history once its first command made it enter.
    RCCommandGroup* m_openGroup = nullptr;
    bool m_openGroupInHistory = false;
    QMap<QString, Factory> m_factories;
    QElapsedTimer m_elapsed;
    Clock m_clock;
};
