#include "EditingFixture.h"

#include "editing/RCCommandGroup.h"

#include <QJsonValue>
#include <QMap>
#include <QTest>

namespace {

// The "document" the test commands edit, and a trace of what ran, shared by all commands.
QMap<QString, int> g_doc;
QStringList g_trace;
int g_alive = 0;

// Sets one key of the document; merges with a newer edit of the same key.
class SetValue : public RCCommand
{
public:
    SetValue() { ++g_alive; }
    SetValue(QString key, int value) : m_key(std::move(key)), m_old(g_doc.value(m_key)), m_new(value)
    {
        ++g_alive;
    }
    ~SetValue() override { --g_alive; }

    bool execute() override
    {
        g_trace.append(QStringLiteral("do %1=%2").arg(m_key).arg(m_new));
        if (failExecute)
            return false;
        g_doc[m_key] = m_new;
        return true;
    }
    bool undo() override
    {
        g_trace.append(QStringLiteral("undo %1=%2").arg(m_key).arg(m_old));
        if (failUndo)
            return false;
        g_doc[m_key] = m_old;
        return true;
    }
    QString typeName() const override { return QStringLiteral("SetValue"); }
    bool mergeWith(const RCCommand* other) override
    {
        const auto* newer = dynamic_cast<const SetValue*>(other);
        if (!newer || newer->m_key != m_key)
            return false;
        m_new = newer->m_new;
        return true;
    }
    bool fromParams(const RCCommandParams& params) override
    {
        if (params.size() != 2 || !params.value(0).isString())
            return false;
        m_key = params.value(0).toString();
        m_new = params.value(1).toInt();
        return true;
    }
    void toParams(RCCommandParams& params) const override
    {
        params.insert(0, m_key);
        params.insert(1, m_new);
    }

    bool failExecute = false;
    bool failUndo = false;

private:
    QString m_key;
    int m_old = 0;
    int m_new = 0;
};

RCCommandManager* mgr()
{
    return RCCommandManager::instance();
}

// Runs and records an edit, as the command presenter does.
void edit(const QString& key, int value, bool clearRedo = true)
{
    auto* cmd = new SetValue(key, value);
    QVERIFY(cmd->execute());
    mgr()->push(cmd, RCCommandManager::UndoStack, clearRedo);
}

} // namespace

using editing_fixture::undoAll;

class TestCommandManager : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void historiesAreCapped();
    void mergeWindow();
    void redoHistory();
    void historySignals();
    void failedUndoOrRedoDropsCommand();
    void nestedGroupsAreOneStep();
    void groupChildrenAreSilentAndUncapped();
    void factoryAndGroupParams();

private:
    QStringList m_signals;
    qint64 m_now = 0;
};

void TestCommandManager::initTestCase()
{
    connect(mgr(), &RCCommandManager::undoCommandsEmptyChanged, this,
            [this](bool empty) { m_signals.append(QStringLiteral("undoEmpty %1").arg(empty)); });
    connect(mgr(), &RCCommandManager::redoCommandsEmptyChanged, this,
            [this](bool empty) { m_signals.append(QStringLiteral("redoEmpty %1").arg(empty)); });
    connect(mgr(), &RCCommandManager::haveOperatorRecord, this, [this] { m_signals.append("record"); });
    connect(mgr(), &RCCommandManager::haveOperatorFallback, this, [this] { m_signals.append("fallback"); });
    mgr()->setClock([this] { return m_now; });
}

void TestCommandManager::init()
{
    mgr()->clear();
    mgr()->clearRedo();
    g_doc.clear();
    g_trace.clear();
    m_signals.clear();
    m_now = 100000;
}

void TestCommandManager::cleanup()
{
    mgr()->clear();
    QCOMPARE(g_alive, 0);
}

// Both histories keep the newest 50 steps. Neither a merge into the last step of a full history
// nor an empty group pushes anything off it.
void TestCommandManager::historiesAreCapped()
{
    for (int i = 0; i < 50; ++i)
        edit(QStringLiteral("k%1").arg(i), 1);
    m_now += 10;
    edit("k49", 2);
    m_signals.clear();
    mgr()->beginGroup(true);
    mgr()->beginGroup(true);
    mgr()->beginGroup(false);
    mgr()->beginGroup(false);
    QVERIFY(m_signals.isEmpty());
    edit("k50", 1);
    QCOMPARE(undoAll(), 50);
    QCOMPARE(g_doc.value("k0"), 1); // the oldest edit fell off and can no longer be undone
    QCOMPARE(g_doc.value("k1"), 0); // and only that one

    edit(QStringLiteral("extra"), 1, false);
    mgr()->undo(); // the 51st entry of the redo history
    int steps = 0;
    for (; steps < 60; ++steps) {
        const QMap<QString, int> before = g_doc;
        mgr()->redo();
        if (g_doc == before)
            break;
    }
    QCOMPARE(steps, 50);
    QCOMPARE(g_doc.value("k50"), 0); // oldest redo entry was dropped
    QCOMPARE(g_doc.value("extra"), 1);

    mgr()->clear();
    m_signals.clear();
    mgr()->beginGroup(true);
    mgr()->beginGroup(false);
    QVERIFY(m_signals.isEmpty());
    QVERIFY(!mgr()->canUndo());
}

void TestCommandManager::mergeWindow()
{
    edit("x", 1);
    m_now += 300;
    edit("x", 2);
    m_now += 400; // 700 ms after the first, 400 after the kept stamp: the window slides
    edit("x", 3);
    m_now += 501;
    edit("x", 4);
    m_now -= 10; // a clock that went back never merges
    edit("x", 5);
    m_now += 10;
    edit("y", 6); // other key: the command refuses
    m_now += 500;
    edit("y", 7); // exactly at the window's end still merges
    QCOMPARE(undoAll(), 4);
    QCOMPARE(g_doc.value("x"), 0);
}

// A redone command never merges with the step before it; a new recorded edit clears what is left
// to redo.
void TestCommandManager::redoHistory()
{
    edit("x", 1);
    mgr()->undo();
    edit("y", 5, false);
    m_now += 10;
    edit("x", 7, false);
    m_now += 10;
    mgr()->redo(); // "x" back to 1: must stay its own step
    QCOMPARE(g_doc.value("x"), 1);
    QCOMPARE(undoAll(), 3);

    mgr()->redo();
    m_signals.clear();
    edit("z", 3);
    QCOMPARE(m_signals, QStringList({"record", "redoEmpty 1"}));
    g_trace.clear();
    mgr()->redo();
    QVERIFY(g_trace.isEmpty());
}

void TestCommandManager::historySignals()
{
    mgr()->undo();
    mgr()->redo();
    QVERIFY(m_signals.isEmpty()); // empty histories emit nothing

    // A merge into the only entry signals again.
    edit("x", 1);
    m_now += 10;
    edit("x", 2);
    QCOMPARE(m_signals, QStringList({"record", "undoEmpty 0", "record", "undoEmpty 0"}));

    // The last undo announces the empty history before the command runs.
    g_trace.clear();
    m_signals.clear();
    {
        QObject guard;
        connect(mgr(), &RCCommandManager::undoCommandsEmptyChanged, &guard,
                [](bool empty) { g_trace.append(QStringLiteral("undoEmpty %1").arg(empty)); });
        mgr()->undo();
    }
    QCOMPARE(g_trace, QStringList({"undoEmpty 1", "undo x=0"}));
    QCOMPARE(m_signals, QStringList({"undoEmpty 1", "fallback", "redoEmpty 0"}));

    // Clearing announces the redo history only when it held something.
    m_signals.clear();
    mgr()->clear();
    mgr()->clear();
    QCOMPARE(m_signals, QStringList({"undoEmpty 1", "redoEmpty 1", "undoEmpty 1"}));
}

void TestCommandManager::failedUndoOrRedoDropsCommand()
{
    auto* cmd = new SetValue("x", 1);
    cmd->execute();
    cmd->failUndo = true;
    mgr()->push(cmd, RCCommandManager::UndoStack, true);
    mgr()->undo();
    QCOMPARE(g_alive, 0);
    QVERIFY(!mgr()->canUndo());
    m_signals.clear();
    mgr()->redo();
    QVERIFY(m_signals.isEmpty());

    auto* other = new SetValue("y", 1);
    other->failExecute = true;
    mgr()->push(other, RCCommandManager::RedoStack, false);
    mgr()->redo();
    QCOMPARE(g_alive, 0);
    QVERIFY(!mgr()->canUndo());
}

void TestCommandManager::nestedGroupsAreOneStep()
{
    mgr()->beginGroup(false); // unmatched: ignored
    edit("before", 1);
    mgr()->undo();
    m_now += 1000;
    mgr()->beginGroup(true);
    edit("a", 1, false);
    mgr()->beginGroup(true);
    edit("b", 2);
    mgr()->beginGroup(false);
    edit("c", 3);
    mgr()->beginGroup(false); // closing a group that holds something clears the redo history
    g_trace.clear();
    mgr()->redo();
    QVERIFY(g_trace.isEmpty());
    m_now += 10;
    edit("after", 1);
    g_trace.clear();
    mgr()->undo(); // "after"
    mgr()->undo(); // the whole group
    QCOMPARE(g_trace, QStringList({"undo after=0", "undo c=0", "undo b=0", "undo a=0"}));
    g_trace.clear();
    mgr()->redo();
    QCOMPARE(g_trace, QStringList({"do a=1", "do b=2", "do c=3"}));
    QCOMPARE(undoAll(), 1);

    // A group taken off the history while open (by undo or clear) makes the next edit start another.
    mgr()->beginGroup(true);
    edit("a", 1);
    mgr()->undo(); // takes the open group off the history
    edit("b", 1);
    edit("c", 1);
    mgr()->clear(); // likewise
    edit("d", 1);
    edit("e", 1);
    mgr()->beginGroup(false);
    QCOMPARE(undoAll(), 1);
    QCOMPARE(g_doc.value("d"), 0);
    QCOMPARE(g_doc.value("e"), 0);
    QCOMPARE(g_doc.value("b"), 1); // cleared, so never undone
}

void TestCommandManager::groupChildrenAreSilentAndUncapped()
{
    mgr()->beginGroup(true);
    edit("k0", 1);
    QCOMPARE(m_signals, QStringList({"record", "undoEmpty 0"})); // the group entering the history
    m_signals.clear();
    for (int i = 1; i < 60; ++i)
        edit(QStringLiteral("k%1").arg(i), 1);
    mgr()->beginGroup(false);
    QVERIFY(m_signals.isEmpty());
    QCOMPARE(undoAll(), 1);
    QCOMPARE(g_doc.value("k0"), 0);
    QCOMPARE(g_doc.value("k59"), 0);
}

void TestCommandManager::factoryAndGroupParams()
{
    QCOMPARE(mgr()->registerCommand("SetValue", [] { return static_cast<RCCommand*>(new SetValue()); }), 0);
    QCOMPARE(mgr()->createCommand("Unknown", {}), nullptr);
    QCOMPARE(mgr()->createCommand("SetValue", {{0, 1}}), nullptr); // refuses these parameters
    QCOMPARE(g_alive, 0);

    RCCommandGroup group;
    QCOMPARE(group.typeName(), QStringLiteral("StelvaneCommand_Group"));
    group.add(new SetValue("a", 1));
    m_now += 1000;
    group.add(new SetValue("b", 2));
    RCCommandParams params;
    group.toParams(params);
    QCOMPARE(params.value(0), QJsonValue("SetValue"));
    QCOMPARE(params.value(3), QJsonValue("$$$$$"));
    QCOMPARE(params.value(7), QJsonValue("$$$$$"));

    // An unknown child type and a trailing unterminated child are left out.
    RCCommandParams withUnknown = params;
    withUnknown.insert(8, QStringLiteral("Unknown"));
    withUnknown.insert(9, QStringLiteral("$$$$$"));
    withUnknown.insert(10, QStringLiteral("SetValue"));
    withUnknown.insert(11, QStringLiteral("c"));
    RCCommandGroup rebuilt;
    QVERIFY(rebuilt.fromParams(withUnknown));
    QCOMPARE(rebuilt.count(), 2);
    QVERIFY(rebuilt.execute());
    QCOMPARE(g_doc.value("a"), 1);
    QCOMPARE(g_doc.value("b"), 2);
    QVERIFY(rebuilt.undo());
    QCOMPARE(g_doc.value("a"), 0);

    RCCommandGroup empty;
    QVERIFY(empty.execute());
    QVERIFY(empty.undo());
    QVERIFY(!empty.mergeWith(&group));
}

QTEST_GUILESS_MAIN(TestCommandManager)
#include "tst_command_manager.moc"
