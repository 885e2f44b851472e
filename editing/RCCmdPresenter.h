#pragma once

#include "model/IRCCppObject.h"

#include <memory>

class RCCommand;

// The one door through which document commands run and are recorded, and the user interface's
// view of the undo history (it relays the command manager's four signals). Process-wide; GUI
// thread only. QML reaches only the command groups, so that one gesture on many items (a drag in
// the scene canvas) is one undo step; every beginCommandGroup needs its endCommandGroup.
class RCCmdPresenter : public IRCCppObject
{
    Q_OBJECT
public:
    static RCCmdPresenter* instance();

    // Runs cmd. When it succeeds and record is true, the undo history (or the open command group)
    // takes ownership and the redo history is cleared, since it no longer applies to the changed
    // document. Otherwise the caller keeps ownership and deletes cmd after reading any result.
    bool execute(RCCommand* cmd, bool record);
    // execute() for a command held by the caller: released to the history when it was recorded,
    // kept (and still readable) by the caller otherwise.
    template <typename Cmd> bool run(std::unique_ptr<Cmd>& cmd, bool record)
    {
        const bool ok = execute(cmd.get(), record);
        if (ok && record)
            cmd.release();
        return ok;
    }
    Q_INVOKABLE void beginCommandGroup();
    Q_INVOKABLE void endCommandGroup();

Q_SIGNALS:
    void undoCommandsEmptyChanged(bool isEmpty);
    void redoCommandsEmptyChanged(bool isEmpty);
    void haveOperatorRecord();
    void haveOperatorFallback();

private:
    explicit RCCmdPresenter(QObject* parent = nullptr);
};
