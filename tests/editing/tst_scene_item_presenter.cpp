// Scene-item commands through the item presenter: add, remove, property, position and size updates
// with undo and redo giving back the same ids, order, positions and selection; list operations as
// one step; merging; the relays; and the guards against duplicate ids and stale redo targets.
#include "EditingFixture.h"

#include "editing/Platform.h"
#include "editing/RCCmdPresenter.h"
#include "editing/RCSceneItemPresenter.h"
#include "editing/RCScenePresenter.h"
#include "model/IRCControl.h"
#include "model/RCScene.h"
#include "model/RCSceneItemViews.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

using namespace editing_fixture;

class TestSceneItemPresenter : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { RCSceneItemPresenter::instance(); }
    void init();

    void addUndoRedoKeepsGeneratedId();
    void addRedoUsesPositionAtUndo();
    void removeUndoRestoresIdOrderPositionAndSelection();
    void selectionAnswersInSceneOrder_data();
    void selectionAnswersInSceneOrder();
    void duplicateIdAddFailsCleanly();
    void updateRecordsOnlyRealChanges();
    void quickUpdatesMergePerItemAndProperty();
    void redoRestoresFinalPositionAndSize();
    void listsAreOneStep();
    void relays();
    void readsAndHelpers();

private:
    RCSceneItemPresenter* p() { return RCSceneItemPresenter::instance(); }
    Platform* platform() { return Platform::instance(); }
    bool canUndo() { return RCCommandManager::instance()->canUndo(); }
    QString m_scene;
};

void TestSceneItemPresenter::init()
{
    resetDocument();
    m_scene = RCScenePresenter::instance()->addScene(u"S"_s, QString(), QString(), false);
}

void TestSceneItemPresenter::addUndoRedoKeepsGeneratedId()
{
    QSignalSpy added(p(), &RCSceneItemPresenter::itemAdded);
    const QString id = p()->addItem(m_scene, itemTemplate("a"), true);
    QCOMPARE(added.at(0), QVariantList({m_scene, id}));
    fakeNow() += 1000;
    p()->setPos(m_scene, id, QPoint(50, 60), true);
    QCOMPARE(undoAll(), 2);
    QCOMPARE(p()->getItemCount(m_scene), 0);
    platform()->redo();
    platform()->redo(); // names the item by its first id
    QCOMPARE(p()->getPos(m_scene, id), QPoint(50, 60));

    // A new recorded edit drops the stale redo steps.
    platform()->undo();
    platform()->undo();
    QSignalSpy redoEmpty(RCCmdPresenter::instance(), &RCCmdPresenter::redoCommandsEmptyChanged);
    const QString b = p()->addItem(m_scene, itemTemplate("b"), true);
    QCOMPARE(redoEmpty.at(0).at(0).toBool(), true);
    platform()->redo();
    QCOMPARE(p()->getItemIds(m_scene), QStringList{b});
}

void TestSceneItemPresenter::addRedoUsesPositionAtUndo()
{
    // The drop sets the position unrecorded; the origin is a position like any other.
    for (const QPoint pos : {QPoint(70, 80), QPoint(0, 0)}) {
        const QString id = p()->addItem(m_scene, itemTemplate("a", 40, 40), true);
        p()->setPos(m_scene, id, pos, false);
        platform()->undo();
        platform()->redo();
        QCOMPARE(p()->getPos(m_scene, id), pos);
    }

    const QString other = p()->addItem(m_scene, itemTemplate("b", 0, 0), false);
    QVERIFY(p()->removeItem(m_scene, other, true));
    platform()->undo();
    QCOMPARE(p()->getPos(m_scene, other), QPoint(0, 0));
}

void TestSceneItemPresenter::removeUndoRestoresIdOrderPositionAndSelection()
{
    const QString a = p()->addItem(m_scene, itemTemplate("a", 1, 2), false);
    const QString b = p()->addItem(m_scene, itemTemplate("b", 3, 4), false);
    const QString c = p()->addItem(m_scene, itemTemplate("c", 5, 6), false);
    p()->setPropertyValue(m_scene, b, RCKeys::Select(), true, false);
    p()->setPropertyValue(m_scene, b, RCKeys::Focus(), true, false);
    p()->setPropertyValue(m_scene, b, RCKeys::TextSize(), 30, false);
    const QJsonValue before = p()->getItemJson(m_scene, b);

    QSignalSpy removed(p(), &RCSceneItemPresenter::itemRemoved);
    QVERIFY(p()->removeItem(m_scene, b, true));
    QCOMPARE(removed.count(), 1);
    QCOMPARE(p()->getItemIds(m_scene), QStringList({a, c}));
    QCOMPARE(p()->getSelectItems(m_scene), QStringList());

    platform()->undo();
    QCOMPARE(p()->getItemIds(m_scene), QStringList({a, b, c}));
    QCOMPARE(p()->getPos(m_scene, b), QPoint(3, 4));
    QCOMPARE(p()->getPropertyValue(m_scene, b, RCKeys::TextSize()).toInt(), 30);
    QCOMPARE(p()->getSelectItems(m_scene), QStringList{b});
    QCOMPARE(p()->getPropertyValue(m_scene, b, RCKeys::Focus()), QVariant(false));
    QJsonObject expected = before.toObject();
    QCOMPARE(p()->getItemJson(m_scene, b).toObject().keys(), expected.keys());

    platform()->redo();
    QCOMPARE(p()->getItemIds(m_scene), QStringList({a, c}));
}

void TestSceneItemPresenter::selectionAnswersInSceneOrder_data()
{
    QTest::addColumn<QList<int>>("selectOrder");
    QTest::addColumn<int>("removedAndRestored"); // removed with a record, then undone; -1: none
    QTest::addColumn<QList<int>>("expected");
    QTest::newRow("one") << QList<int>{2} << -1 << QList<int>{2};
    QTest::newRow("selected backwards") << QList<int>{3, 0} << -1 << QList<int>{0, 3};
    QTest::newRow("all, reversed") << QList<int>{3, 2, 1, 0} << -1 << QList<int>{0, 1, 2, 3};
    QTest::newRow("first selected, then removed and undone") << QList<int>{0, 2} << 0 << QList<int>{0, 2};
    QTest::newRow("an unselected one removed and undone") << QList<int>{1, 3} << 2 << QList<int>{1, 3};
}

void TestSceneItemPresenter::selectionAnswersInSceneOrder()
{
    QFETCH(QList<int>, selectOrder);
    QFETCH(int, removedAndRestored);
    QFETCH(QList<int>, expected);
    QStringList ids;
    for (const char* name : {"a", "b", "c", "d"})
        ids << p()->addItem(m_scene, itemTemplate(name), false);
    for (int i : selectOrder)
        p()->setPropertyValue(m_scene, ids[i], RCKeys::Select(), true, false);
    if (removedAndRestored >= 0) {
        QVERIFY(p()->removeItem(m_scene, ids[removedAndRestored], true));
        platform()->undo();
        QCOMPARE(p()->getItemIds(m_scene), ids);
    }
    QStringList answer;
    for (int i : expected)
        answer << ids[i];
    QCOMPARE(p()->getSelectItems(m_scene), answer);
}

void TestSceneItemPresenter::duplicateIdAddFailsCleanly()
{
    const QString a = p()->addItem(m_scene, itemTemplate("a"), false);
    const QJsonObject copy = p()->getItemJson(m_scene, a).toObject();
    QCOMPARE(p()->addItem(m_scene, copy, true), QString());
    QVERIFY(!canUndo());
    QCOMPARE(p()->getItemIds(m_scene), QStringList{a});

    // A redo of a removal that meets a re-created twin fails and leaves the twin alone.
    QVERIFY(p()->removeItem(m_scene, a, true));
    QCOMPARE(p()->addItem(m_scene, copy, false), a);
    platform()->undo();
    QCOMPARE(p()->getItemIds(m_scene), QStringList{a});
    QVERIFY(!canUndo());

    QCOMPARE(p()->addItem(u"{unknown}"_s, itemTemplate("x"), true), QString());
}

void TestSceneItemPresenter::updateRecordsOnlyRealChanges()
{
    const QString a = p()->addItem(m_scene, itemTemplate("a"), false);
    QSignalSpy changed(p(), &RCSceneItemPresenter::itemPropertyValueChanged);
    p()->setPropertyValue(m_scene, a, RCKeys::Name(), u"a"_s, true);
    p()->setPropertyValue(m_scene, a, RCKeys::Id(), u"{other}"_s, true);
    p()->setPropertyValue(m_scene, a, u"name"_s, u"b"_s, true);
    p()->setPropertyValue(m_scene, u"{unknown}"_s, RCKeys::Name(), u"b"_s, true);
    QVERIFY(!platform()->canUndo());
    QCOMPARE(changed.count(), 0);

    p()->setPropertyValue(m_scene, a, RCKeys::Name(), u"b"_s, true);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0), QVariantList({m_scene, a, RCKeys::Name(), u"b"_s}));

    // Undoing a change of the view brings back the default path, which names no view itself.
    const QString view = RCSceneItemViews::viewPathForControlType(IRCControl::EIRCControlType_Label);
    QVERIFY(!view.isEmpty());
    p()->setPropertyValue(m_scene, a, RCKeys::QmlPath(), view, true);
    QCOMPARE(p()->getPropertyValue(m_scene, a, RCKeys::QmlPath()).toString(), view);
    RCCommandManager::instance()->undo();
    QCOMPARE(p()->getPropertyValue(m_scene, a, RCKeys::QmlPath()).toString(), RCSceneItem::defaultQmlPath());
}

void TestSceneItemPresenter::quickUpdatesMergePerItemAndProperty()
{
    const QString a = p()->addItem(m_scene, itemTemplate("a"), false);
    const QString b = p()->addItem(m_scene, itemTemplate("b"), false);
    p()->setPropertyValue(m_scene, a, RCKeys::Name(), u"a1"_s, true);
    fakeNow() += 200;
    p()->setPropertyValue(m_scene, a, RCKeys::Name(), u"a2"_s, true);
    QCOMPARE(undoAll(), 1);
    QCOMPARE(p()->getPropertyValue(m_scene, a, RCKeys::Name()).toString(), u"a"_s);
    platform()->redo();
    QCOMPARE(p()->getPropertyValue(m_scene, a, RCKeys::Name()).toString(), u"a2"_s);

    platform()->clearCommands();
    p()->setPropertyValue(m_scene, a, RCKeys::X(), 100, true);
    fakeNow() += 100;
    p()->setPropertyValue(m_scene, b, RCKeys::X(), 100, true);
    fakeNow() += 100;
    p()->setPos(m_scene, a, QPoint(1, 1), true);
    fakeNow() += 100;
    p()->setPos(m_scene, a, QPoint(2, 2), true); // position steps never merge
    fakeNow() += 1000;
    p()->setPos(m_scene, a, QPoint(2, 2), true); // and are recorded even without a change
    QCOMPARE(undoAll(), 5);
}

void TestSceneItemPresenter::redoRestoresFinalPositionAndSize()
{
    const QString a = p()->addItem(m_scene, itemTemplate("a", 0, 0), false);
    p()->setPos(m_scene, a, QPoint(10, 10), true);  // drag start recorded
    p()->setPos(m_scene, a, QPoint(30, 40), false); // the rest of the drag
    fakeNow() += 1000;
    p()->setSize(m_scene, a, QSize(50, 60), true);
    p()->setSize(m_scene, a, QSize(70, 80), false);
    const QSize start(100, 100);

    platform()->undo();
    QCOMPARE(p()->getSize(m_scene, a), start);
    platform()->undo();
    QCOMPARE(p()->getPos(m_scene, a), QPoint(0, 0));
    platform()->redo();
    QCOMPARE(p()->getPos(m_scene, a), QPoint(30, 40));
    platform()->redo();
    QCOMPARE(p()->getSize(m_scene, a), QSize(70, 80));
}

void TestSceneItemPresenter::listsAreOneStep()
{
    const QString lone = p()->addItem(m_scene, itemTemplate("lone"), false);
    const QStringList ids = p()->addItemList(
        m_scene, QList<QJsonObject>{itemTemplate("a"), itemTemplate("b"), itemTemplate("c")}, true);
    QCOMPARE(ids.size(), 3);
    QCOMPARE(p()->getItemIds(m_scene), QStringList({lone}) + ids);
    platform()->undo();
    QVERIFY(!canUndo());
    QCOMPARE(p()->getItemIds(m_scene), QStringList{lone});
    platform()->redo();
    QCOMPARE(p()->getItemIds(m_scene), QStringList({lone}) + ids);

    platform()->clearCommands();
    QVERIFY(p()->removeItemList(m_scene, {ids[2], u"{unknown}"_s, ids[0]}, true));
    QCOMPARE(p()->getItemIds(m_scene), QStringList({lone, ids[1]}));
    platform()->undo();
    QVERIFY(!canUndo());
    QCOMPARE(p()->getItemIds(m_scene), QStringList({lone}) + ids);
    platform()->redo();
    QCOMPARE(p()->getItemIds(m_scene), QStringList({lone, ids[1]}));

    // Empty lists, and lists of nothing held, leave the history alone.
    platform()->clearCommands();
    QSignalSpy record(RCCmdPresenter::instance(), &RCCmdPresenter::haveOperatorRecord);
    QCOMPARE(p()->addItemList(m_scene, QList<QJsonObject>(), true), QStringList());
    QVERIFY(p()->removeItemList(m_scene, {u"{unknown}"_s}, true));
    QVERIFY(!canUndo());
    QCOMPARE(record.count(), 0);
}

void TestSceneItemPresenter::relays()
{
    // After moves, each event is relayed once.
    RCScenePresenter::instance()->addScene(u"T"_s, QString(), QString(), false);
    QVERIFY(RCScenePresenter::instance()->moveScene(m_scene, 1, false));
    QVERIFY(RCScenePresenter::instance()->moveScene(m_scene, 0, false));
    QSignalSpy added(p(), &RCSceneItemPresenter::itemAdded);
    QSignalSpy selected(p(), &RCSceneItemPresenter::itemSelectChanged);
    const QString a = p()->addItem(m_scene, itemTemplate("a"), false);
    p()->setPropertyValue(m_scene, a, RCKeys::Select(), true, false);
    QCOMPARE(added.count(), 1);
    QCOMPARE(selected.count(), 1);
    QCOMPARE(selected.at(0), QVariantList({m_scene, QStringList{a}}));

    // A presenter made later relays only the scenes added after it.
    RCSceneItemPresenter late;
    QSignalSpy changed(&late, &RCSceneItemPresenter::itemPropertyValueChanged);
    p()->setPropertyValue(m_scene, a, RCKeys::Name(), u"b"_s, false);
    const QString fresh = RCScenePresenter::instance()->addScene(u"F"_s, QString(), QString(), false);
    const QString b = late.addItem(fresh, itemTemplate("b"), false);
    late.setPropertyValue(fresh, b, RCKeys::Name(), u"c"_s, false);
    QCOMPARE(changed.count(), 1);
}

// Reads of what is not there answer nothing, and writes to it record nothing.
void TestSceneItemPresenter::readsAndHelpers()
{
    const QString unknown = u"{unknown}"_s;
    QCOMPARE(p()->getItemCount(unknown), -1);
    QCOMPARE(p()->getItemCount(m_scene), 0);
    QCOMPARE(p()->getItemId(m_scene, -1), QString());
    QCOMPARE(p()->getItemIds(unknown), QStringList());
    QCOMPARE(p()->getSelectItems(unknown), QStringList());
    QCOMPARE(p()->getPropertyCount(m_scene, unknown), -1);
    QCOMPARE(p()->getPos(m_scene, unknown), QPoint());
    QVERIFY(!p()->getSize(m_scene, unknown).isValid());
    QVERIFY(!p()->getPropertyValue(m_scene, unknown, RCKeys::Name()).isValid());
    QVERIFY(!p()->containProperty(m_scene, unknown, RCKeys::Name()));
    QVERIFY(p()->getItemJson(m_scene, unknown).isNull());
    QVERIFY(!p()->containItem(unknown, unknown));
    QVERIFY(!p()->removeItem(m_scene, unknown, true));
    p()->setPos(m_scene, unknown, QPoint(1, 1), true);
    p()->setSize(m_scene, unknown, QSize(1, 1), true);
    QVERIFY(!canUndo());

    const QString a = p()->addItem(m_scene, itemTemplate("a"), false);
    QCOMPARE(platform()->tryGetSceneId(m_scene), m_scene);
    QCOMPARE(platform()->tryGetSceneItemId(a), a);
    QCOMPARE(platform()->tryGetSceneId(a), QString());
    QCOMPARE(platform()->tryGetSceneItemId(m_scene), QString());
    QCOMPARE(platform()->tryGetSceneItemId(unknown), QString());
    // Focus changes are relayed: none, then the new one.
    QSignalSpy focus(platform(), &Platform::objectFocusChanged);
    RCScenePresenter::instance()->setPropertyValue(m_scene, RCKeys::Focus(), true, false);
    p()->setPropertyValue(m_scene, a, RCKeys::Focus(), true, false);
    QCOMPARE(focus.count(), 3);
    QCOMPARE(focus.at(1).at(0).toString(), QString());
    QCOMPARE(focus.at(2).at(0).toString(), a);

    QVERIFY(p()->containItem(m_scene, a));
    QVERIFY(p()->containProperty(m_scene, a, RCKeys::Name()));
    QVERIFY(!p()->containProperty(m_scene, a, u"name"_s));
    QVERIFY(p()->getPropertyCount(m_scene, a) >= 15);
    QCOMPARE(p()->getPropertyName(m_scene, a, 0), RCKeys::Id());

    const QJsonObject record{{"name", "IconPath"}, {"description", "icon"},
                             {"readonly", false},  {"visible", true},
                             {"unit", ""},         {"value", "qrc:/control/play.png"}};
    p()->updateItemProperties(m_scene, a, record);
    QCOMPARE(p()->getPropertyValue(m_scene, a, RCKeys::IconPath()).toString(), u"qrc:/control/play.png"_s);
    QVERIFY(!canUndo());

    QSignalSpy trigger(p(), &RCSceneItemPresenter::actionTrigger);
    p()->triggerAction(m_scene, a, 1, QString());
    QCOMPARE(trigger.count(), 1);
    QCOMPARE(trigger.at(0), QVariantList({m_scene, a, 1, QString()}));
}

QTEST_GUILESS_MAIN(TestSceneItemPresenter)
#include "tst_scene_item_presenter.moc"
