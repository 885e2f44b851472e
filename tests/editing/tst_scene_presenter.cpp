// Scene commands through the scene presenter: add, insert, remove, move and property updates with
// undo and redo, the merge of quick edits, the relayed signals and the guards against duplicate ids.
#include "EditingFixture.h"

#include "editing/Platform.h"
#include "editing/RCSceneItemPresenter.h"
#include "editing/RCScenePresenter.h"
#include "model/RCScene.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

using namespace editing_fixture;

class TestScenePresenter : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { resetDocument(); }

    void addAndInsertUndoRedo();
    void removeUndoRestoresSceneWithItems();
    void moveAndUndo();
    void updateRecordsOnlyRealChanges();
    void quickUpdatesMergePerSceneAndProperty();
    void stepsFailWhenTheIdIsHeldAgain();
    void readsSelectionAndActions();
    void newSceneSize_data();
    void newSceneSize();

private:
    RCScenePresenter* p() { return RCScenePresenter::instance(); }
    bool canUndo() { return RCCommandManager::instance()->canUndo(); }
};

void TestScenePresenter::addAndInsertUndoRedo()
{
    QSignalSpy added(p(), &RCScenePresenter::sceneAdd);
    const QString a = p()->addScene(u"A"_s);
    const QString b = p()->addScene(u"B"_s, QString(), QString(), false); // not recorded
    QCOMPARE(added.at(0), QVariantList({a, 0}));
    QCOMPARE(p()->getPropertyValue(a, RCKeys::IconPath()), QVariant(QString()));
    fakeNow() += 1000;
    const QString c = p()->insertScene(u"C"_s, u"icon"_s, u"bg"_s, 1);
    QCOMPARE(p()->getSceneIds(), QStringList({a, c, b}));
    // the size a new scene gets right after the add, unrecorded, is part of what redo brings back
    p()->setPropertyValue(c, RCKeys::Width(), 1920, false);
    const QJsonObject first = RCSceneManager::instance()->getScene(c)->toJson();

    Platform::instance()->undo();
    QCOMPARE(p()->getSceneIds(), QStringList({a, b}));
    Platform::instance()->redo();
    QCOMPARE(p()->getSceneIds(), QStringList({a, c, b}));
    QCOMPARE(RCSceneManager::instance()->getScene(c)->toJson(), first);
    QCOMPARE(undoAll(), 2);
    QCOMPARE(p()->getSceneIds(), QStringList{b});
}

void TestScenePresenter::removeUndoRestoresSceneWithItems()
{
    const QString a = p()->addScene(u"A"_s, QString(), QString(), false);
    const QString b = p()->addScene(u"B"_s, QString(), QString(), false);
    const QString c = p()->addScene(u"C"_s, QString(), QString(), false);
    RCSceneItemPresenter* items = RCSceneItemPresenter::instance();
    const QString i1 = items->addItem(b, itemTemplate("one"), false);
    const QString i2 = items->addItem(b, itemTemplate("two", 0, 0), false);
    p()->setPropertyValue(b, RCKeys::Width(), 1280, false);

    QSignalSpy removed(p(), &RCScenePresenter::sceneRemove);
    QVERIFY(p()->removeScene(b));
    QCOMPARE(removed.count(), 1);
    QCOMPARE(p()->getSceneIds(), QStringList({a, c}));

    Platform::instance()->undo();
    QCOMPARE(p()->getSceneIds(), QStringList({a, b, c}));
    QCOMPARE(items->getItemIds(b), QStringList({i1, i2}));
    QCOMPARE(p()->getPropertyValue(b, RCKeys::Width()).toInt(), 1280);
    QCOMPARE(items->getPos(b, i2), QPoint(0, 0));

    Platform::instance()->redo();
    QCOMPARE(p()->getSceneIds(), QStringList({a, c}));
}

void TestScenePresenter::moveAndUndo()
{
    const QString a = p()->addScene(u"A"_s, QString(), QString(), false);
    const QString b = p()->addScene(u"B"_s, QString(), QString(), false);
    const QString c = p()->addScene(u"C"_s, QString(), QString(), false);
    QVERIFY(!p()->moveScene(u"{unknown}"_s, 0));
    QVERIFY(!p()->removeScene(u"{unknown}"_s));
    QVERIFY(!canUndo());

    QStringList events;
    QObject guard;
    connect(p(), &RCScenePresenter::sceneRemove, &guard,
            [&](const QString& id) { events << "remove " + id; });
    connect(p(), &RCScenePresenter::sceneAdd, &guard,
            [&](const QString& id, int index) { events << u"add %1 %2"_s.arg(id).arg(index); });
    QVERIFY(p()->moveScene(a, 2));
    QCOMPARE(events, QStringList({"remove " + a, u"add %1 2"_s.arg(a)}));
    QCOMPARE(p()->getSceneIds(), QStringList({b, c, a}));
    Platform::instance()->undo();
    QCOMPARE(p()->getSceneIds(), QStringList({a, b, c}));
    Platform::instance()->redo();
    QCOMPARE(p()->getSceneIds(), QStringList({b, c, a}));
}

void TestScenePresenter::updateRecordsOnlyRealChanges()
{
    const QString a = p()->addScene(u"A"_s, QString(), QString(), false);
    QSignalSpy changed(p(), &RCScenePresenter::scenePropertyValueChanged);

    p()->setPropertyValue(a, RCKeys::Name(), u"A"_s, true);     // same value
    p()->setPropertyValue(a, RCKeys::Id(), u"{other}"_s, true); // read-only row
    p()->setPropertyValue(a, u"name"_s, u"x"_s, true);          // no such row
    p()->setPropertyValue(u"{unknown}"_s, RCKeys::Name(), u"x"_s, true);
    QVERIFY(!canUndo());
    QCOMPARE(changed.count(), 0);
    QCOMPARE(p()->getSceneIds(), QStringList{a});

    p()->setPropertyValue(a, RCKeys::Name(), u"B"_s, true);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0), QVariantList({a, RCKeys::Name(), u"B"_s}));
    Platform::instance()->undo();
    QCOMPARE(p()->getPropertyValue(a, RCKeys::Name()).toString(), u"A"_s);
    Platform::instance()->redo();
    QCOMPARE(p()->getPropertyValue(a, RCKeys::Name()).toString(), u"B"_s);
}

void TestScenePresenter::quickUpdatesMergePerSceneAndProperty()
{
    const QString a = p()->addScene(u"A"_s, QString(), QString(), false);
    const QString b = p()->addScene(u"B"_s, QString(), QString(), false);
    p()->setPropertyValue(a, RCKeys::Name(), u"A1"_s, true);
    fakeNow() += 300;
    p()->setPropertyValue(a, RCKeys::Name(), u"A2"_s, true);
    fakeNow() += 100;
    p()->setPropertyValue(b, RCKeys::Name(), u"B1"_s, true);
    QCOMPARE(undoAll(), 2);
    QCOMPARE(p()->getPropertyValue(a, RCKeys::Name()).toString(), u"A"_s);
    QCOMPARE(p()->getPropertyValue(b, RCKeys::Name()).toString(), u"B"_s);
    Platform::instance()->redo();
    Platform::instance()->redo();
    QCOMPARE(p()->getPropertyValue(a, RCKeys::Name()).toString(), u"A2"_s);
}

void TestScenePresenter::stepsFailWhenTheIdIsHeldAgain()
{
    // The redo of an add, and the undo of a removal, meet the same scene loaded meanwhile.
    const QString a = p()->addScene(u"A"_s);
    const QJsonObject saved = p()->toJson();
    Platform::instance()->undo();
    p()->fromJson(saved);
    RCScene* loaded = RCSceneManager::instance()->getScene(a);
    QVERIFY(loaded);
    Platform::instance()->redo();
    QCOMPARE(p()->getSceneIds(), QStringList{a});
    QCOMPARE(RCSceneManager::instance()->getScene(a), loaded);
    QVERIFY(!canUndo());

    QVERIFY(p()->removeScene(a));
    p()->fromJson(saved);
    loaded = RCSceneManager::instance()->getScene(a);
    Platform::instance()->undo();
    QCOMPARE(p()->getSceneIds(), QStringList{a});
    QCOMPARE(RCSceneManager::instance()->getScene(a), loaded);
}

void TestScenePresenter::readsSelectionAndActions()
{
    const QString a = p()->addScene(u"A"_s, QString(), QString(), false);
    QCOMPARE(p()->getSceneId(-1), QString());
    QCOMPARE(p()->getSceneId(1), QString());
    QCOMPARE(p()->getSceneId(0), a);
    QCOMPARE(p()->getPropertyCount(u"{unknown}"_s), -1);
    QVERIFY(p()->getPropertyCount(a) > 0);
    QCOMPARE(p()->getPropertyName(a, p()->getPropertyCount(a)), QString());
    QVERIFY(!p()->getPropertyVisible(a, -1));
    QCOMPARE(p()->getPropertyQmlFile(u"{unknown}"_s, 0), QString());
    QCOMPARE(p()->getPropertyDescription(a, u"nope"_s), QString());
    QVERIFY(!p()->getPropertyDisplayData(a, RCKeys::Name(), RCKeys::ComboBoxItemNameList()).isValid());
    QVERIFY(!p()->getPropertyValue(u"{unknown}"_s, RCKeys::Name()).isValid());
    QCOMPARE(p()->getSceneIndex(u"{unknown}"_s), -1);

    QSignalSpy selected(p(), &RCScenePresenter::sceneSelectChanged);
    p()->setSelectScene(a);
    QCOMPARE(p()->getSelectSceneId(), a);
    p()->setSelectScene(u"{unknown}"_s);
    QCOMPARE(p()->getSelectSceneId(), QString());
    QCOMPARE(selected.count(), 2);
    QCOMPARE(selected.at(1).at(0).toString(), QString());

    QSignalSpy spy(p(), &RCScenePresenter::actionTrigger);
    p()->triggerAction(u"{s}"_s, 35, u"data"_s);
    QCOMPARE(spy.at(0), QVariantList({u"{s}"_s, 35, u"data"_s}));
}

void TestScenePresenter::newSceneSize_data()
{
    QTest::addColumn<QList<QSize>>("scenes"); // a size of 0 x 0 keeps the scene's (bad) default
    QTest::addColumn<int>("selected");        // -1: none
    QTest::addColumn<QSize>("templateSize");
    QTest::addColumn<QSize>("expected");
    const QList<QSize> two{QSize(1920, 1080), QSize(1024, 768)};
    QTest::newRow("template copy") << two << 1 << QSize(1200, 540) << QSize(1200, 540);
    QTest::newRow("selected") << two << 1 << QSize(-1, -1) << QSize(1024, 768);
    QTest::newRow("none selected: the first") << two << -1 << QSize(-1, -1) << QSize(1920, 1080);
    QTest::newRow("template without a size") << two << 0 << QSize(0, 540) << QSize(1920, 1080);
    QTest::newRow("selected one without a size: the first")
        << QList<QSize>{QSize(800, 600), QSize(0, 0)} << 1 << QSize() << QSize(800, 600);
    QTest::newRow("no scene") << QList<QSize>() << -1 << QSize() << QSize(960, 540);
}

void TestScenePresenter::newSceneSize()
{
    QFETCH(QList<QSize>, scenes);
    QFETCH(int, selected);
    QFETCH(QSize, templateSize);
    QFETCH(QSize, expected);
    QStringList ids;
    for (const QSize& size : scenes) {
        ids << p()->addScene(u"S"_s, QString(), QString(), false);
        if (size.isEmpty()) {
            p()->setPropertyValue(ids.last(), RCKeys::Width(), 0, false);
            continue;
        }
        p()->setPropertyValue(ids.last(), RCKeys::Width(), size.width(), false);
        p()->setPropertyValue(ids.last(), RCKeys::Height(), size.height(), false);
    }
    p()->setSelectScene(selected < 0 ? QString() : ids[selected]);
    QCOMPARE(p()->getNewSceneSize(templateSize), expected);
}

QTEST_GUILESS_MAIN(TestScenePresenter)
#include "tst_scene_presenter.moc"
