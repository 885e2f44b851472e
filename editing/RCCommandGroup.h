#pragma once

#include "editing/RCCommand.h"

#include <QList>

// A composite command: its children run first to last and are undone last to first, as one step.
// Owns its children. Never merges into anything once closed, and is not registered in the factory.
class RCCommandGroup : public RCCommand
{
public:
    RCCommandGroup();
    ~RCCommandGroup() override;

    // Runs every child; true whatever the children answer (an empty group too).
    bool execute() override;
    // Reverts every child, last first; true whatever the children answer.
    bool undo() override;
    // Rebuilds the children from the parameter form written by toParams(). Children whose type
    // cannot be created are left out. Always true.
    bool fromParams(const RCCommandParams& params) override;
    // Per child: its type name, its own parameters, then the end marker "$$$$$", under running keys
    // from 0.
    void toParams(RCCommandParams& params) const override;
    QString typeName() const override;

    // Takes ownership of cmd: merges it into the last child when mayMerge is set and the merge test
    // passes (cmd is then destroyed), else appends it. A null cmd is ignored.
    void add(RCCommand* cmd, bool mayMerge = true);
    bool isEmpty() const { return m_children.isEmpty(); }
    qsizetype count() const { return m_children.size(); }

private:
    QList<RCCommand*> m_children;
};
