#include "editing/RCCommandManager.h"

#include "editing/RCCommandGroup.h"

RCCommandManager* RCCommandManager::instance()
{
    static RCCommandManager* manager = new RCCommandManager();
    return manager;
}

RCCommandManager::RCCommandManager(QObject* parent) : IRCCppObject(parent)
{
    m_elapsed.start();
}

qint64 RCCommandManager::now() const
{
    return m_clock ? m_clock() : m_elapsed.elapsed();
}

void RCCommandManager::setClock(Clock clock)
{
    m_clock = std::move(clock);
}

bool RCCommandManager::tryMerge(RCCommand* kept, RCCommand* newer)
{
    const qint64 delta = newer->timeStamp() - kept->timeStamp();
    if (delta < 0 || delta > MergeWindowMsecs || !kept->mergeWith(newer))
        return false;
    kept->setTimeStamp(newer->timeStamp());
    delete newer;
    return true;
}

void RCCommandManager::push(RCCommand* cmd, int stack, bool clearRedoHistory)
{
    if (!cmd)
        return;
    if (stack == RedoStack) {
        pushRedo(cmd);
        return;
    }
    pushUndo(cmd, true);
    if (clearRedoHistory)
        clearRedo();
}

void RCCommandManager::pushUndo(RCCommand* cmd, bool mayMerge)
{
    if (m_groupDepth > 0 && m_openGroup) {
        if (!m_openGroupInHistory) {
            // The group enters the history with its first command, as one ordinary entry.
            m_openGroupInHistory = true;
            appendUndo(m_openGroup, false);
        }
        m_openGroup->add(cmd, mayMerge);
        return;
    }
    appendUndo(cmd, mayMerge);
}

void RCCommandManager::appendUndo(RCCommand* cmd, bool mayMerge)
{
    // A command folded into the last entry adds no entry, so the cap applies only to one that
    // is appended.
    if (!(mayMerge && !m_undo.isEmpty() && tryMerge(m_undo.last(), cmd))) {
        if (m_undo.size() >= HistoryCap) {
            RCCommand* oldest = m_undo.takeFirst();
            forgetOpenGroup(oldest);
            delete oldest;
        }
        m_undo.append(cmd);
    }
    Q_EMIT haveOperatorRecord();
    if (m_undo.size() == 1)
        Q_EMIT undoCommandsEmptyChanged(false);
}

void RCCommandManager::pushRedo(RCCommand* cmd)
{
    if (m_redo.size() >= HistoryCap)
        delete m_redo.takeFirst();
    m_redo.append(cmd);
    Q_EMIT haveOperatorFallback();
    if (m_redo.size() == 1)
        Q_EMIT redoCommandsEmptyChanged(false);
}

void RCCommandManager::forgetOpenGroup(const RCCommand* entry)
{
    if (m_openGroupInHistory && entry == m_openGroup) {
        // Undone or cleared while still open: what follows up to the outer end is a group of its
        // own.
        m_openGroup = m_groupDepth > 0 ? new RCCommandGroup() : nullptr;
        m_openGroupInHistory = false;
    }
}

void RCCommandManager::undo()
{
    if (m_undo.isEmpty())
        return;
    RCCommand* cmd = m_undo.takeLast();
    forgetOpenGroup(cmd);
    if (m_undo.isEmpty())
        Q_EMIT undoCommandsEmptyChanged(true);
    if (cmd->undo())
        pushRedo(cmd);
    else
        delete cmd;
}

void RCCommandManager::redo()
{
    if (m_redo.isEmpty())
        return;
    RCCommand* cmd = m_redo.takeLast();
    if (m_redo.isEmpty())
        Q_EMIT redoCommandsEmptyChanged(true);
    // A redone step is never folded into another one.
    if (cmd->execute())
        pushUndo(cmd, false);
    else
        delete cmd;
}

bool RCCommandManager::canUndo() const
{
    return !m_undo.isEmpty();
}

void RCCommandManager::beginGroup(bool begin)
{
    if (begin) {
        if (m_groupDepth == 0) {
            m_openGroup = new RCCommandGroup();
            m_openGroupInHistory = false;
        }
        ++m_groupDepth;
        return;
    }
    if (m_groupDepth == 0)
        return;
    if (--m_groupDepth > 0)
        return;
    if (!m_openGroup)
        return;
    if (m_openGroupInHistory) {
        clearRedo();
    } else {
        delete m_openGroup;
    }
    m_openGroup = nullptr;
    m_openGroupInHistory = false;
}

void RCCommandManager::clear()
{
    for (RCCommand* cmd : std::as_const(m_undo))
        forgetOpenGroup(cmd);
    qDeleteAll(m_undo);
    m_undo.clear();
    Q_EMIT undoCommandsEmptyChanged(true);
    clearRedo();
}

void RCCommandManager::clearRedo()
{
    if (m_redo.isEmpty())
        return;
    qDeleteAll(m_redo);
    m_redo.clear();
    Q_EMIT redoCommandsEmptyChanged(true);
}

int RCCommandManager::registerCommand(const char* typeName, Factory factory)
{
    m_factories.insert(QString::fromUtf8(typeName), factory);
    return 0;
}

RCCommand* RCCommandManager::createCommand(const QString& typeName, const RCCommandParams& params)
{
    const Factory factory = m_factories.value(typeName, nullptr);
    if (!factory)
        return nullptr;
    RCCommand* cmd = factory();
    if (!cmd)
        return nullptr;
    if (cmd->fromParams(params))
        return cmd;
    delete cmd;
    return nullptr;
}
