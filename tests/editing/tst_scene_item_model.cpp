// The scene canvas's item model under QAbstractItemModelTester, fed by the item presenter: rows in
// scene order with their view file and geometry, following adds, removes and property changes,
// and its cost contract as signal counts: one reset per scene switch, one dataChanged with
// {X, Y} per run of adjacent rows per drag step, a drag that ends as one undo step, a property
// change that reaches the one row that shows it as the role that moved, and a burst of changes
// whose rest is announced from the event loop as one dataChanged per run of rows, with one
// selection box.
#include "EditingFixture.h"

#include "editing/RCSceneItemModel.h"
#include "editing/RCSceneItemPresenter.h"
#include "editing/RCScenePresenter.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace editing_fixture;

// first and last row of a run of adjacent rows
using Runs = QList<QPair<int, int>>;

class TestSceneItemModel : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { RCSceneItemPresenter::instance(); }
    void init();
    void cleanup();

    void rowsFollowTheScene();
    void canvasPropertiesReachEveryRow_data();
    void canvasPropertiesReachEveryRow();
    void sceneSwitchIsOneReset();
    void dragStepIsOneChangePerRun_data();
    void dragStepIsOneChangePerRun();
    void recordedMoveIsOneUndoStep();
    void propertyChangeReachesItsRow_data();
    void propertyChangeReachesItsRow();
    void changesAreAnnouncedAsRuns();
    void selectionBoxFollowsTheSelection();
    void waitingChangesFollowRowsThatComeAndGo();

private:
    RCSceneItemPresenter* p() { return RCSceneItemPresenter::instance(); }
    // A scene of count items at (10 i, 20 i), 30 x 40; answers its id.
    QString makeScene(int count);
    QString idAt(int row) const
    {
        return m_model->data(m_model->index(row), RCSceneItemModel::ItemIdRole).toString();
    }
    QPoint posAt(int row) const
    {
        return QPoint(m_model->data(m_model->index(row), RCSceneItemModel::XRole).toInt(),
                      m_model->data(m_model->index(row), RCSceneItemModel::YRole).toInt());
    }

    RCSceneItemModel* m_model = nullptr;
    QAbstractItemModelTester* m_tester = nullptr;
    QString m_scene;
};

QString TestSceneItemModel::makeScene(int count)
{
    const QString sceneId = RCScenePresenter::instance()->addScene(u"S"_s, QString(), QString(), false);
    for (int i = 0; i < count; ++i) {
        const QString id = p()->addItem(sceneId, itemTemplate(u"i%1"_s.arg(i), 10 * i, 20 * i), false);
        p()->setSize(sceneId, id, QSize(30, 40), false);
    }
    return sceneId;
}

void TestSceneItemModel::init()
{
    resetDocument();
    m_scene = makeScene(6);
    m_model = new RCSceneItemModel(this);
    m_tester =
        new QAbstractItemModelTester(m_model, QAbstractItemModelTester::FailureReportingMode::Fatal, this);
    m_model->setPresenter(p());
    m_model->setSceneId(m_scene);
}

void TestSceneItemModel::cleanup()
{
    delete m_tester;
    delete m_model;
}

void TestSceneItemModel::rowsFollowTheScene()
{
    const QHash<int, QByteArray> names = m_model->roleNames();
    QCOMPARE(names.value(RCSceneItemModel::ItemIdRole), "itemId");
    QCOMPARE(names.value(RCSceneItemModel::QmlPathRole), "qmlPath");
    QCOMPARE(names.value(RCSceneItemModel::ValuesRole), "values");
    QCOMPARE(m_model->rowCount(), 6);
    const QStringList ids = p()->getItemIds(m_scene);
    for (int row = 0; row < ids.size(); ++row) {
        QCOMPARE(idAt(row), ids.at(row));
        QCOMPARE(m_model->rowOf(ids.at(row)), row);
        QCOMPARE(posAt(row), QPoint(10 * row, 20 * row));
        QCOMPARE(m_model->data(m_model->index(row), RCSceneItemModel::HeightRole).toInt(), 40);
        QCOMPARE(m_model->data(m_model->index(row), RCSceneItemModel::QmlPathRole),
                 p()->getPropertyValue(m_scene, ids.at(row), u"QmlPath"_s));
        QCOMPARE(m_model->data(m_model->index(row), RCSceneItemModel::SceneIdRole).toString(), m_scene);
        QCOMPARE(m_model->data(m_model->index(row), RCSceneItemModel::ValuesRole).toMap(),
                 p()->getPropertyValues(m_scene, ids.at(row)));
    }

    QSignalSpy inserted(m_model, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(m_model, &QAbstractItemModel::rowsRemoved);
    p()->removeItem(m_scene, ids.at(2), true);
    QCOMPARE(removed.size(), 1);
    QCOMPARE(removed.at(0).at(1).toInt(), 2);
    QCOMPARE(m_model->rowOf(ids.at(3)), 2);
    QCOMPARE(m_model->rowOf(ids.at(2)), -1);
    RCCommandManager::instance()->undo();
    QCOMPARE(inserted.size(), 1);
    const QStringList back = p()->getItemIds(m_scene);
    QCOMPARE(m_model->rowCount(), 6);
    for (int row = 0; row < back.size(); ++row) {
        QCOMPARE(idAt(row), back.at(row));
        QCOMPARE(m_model->rowOf(back.at(row)), row);
    }

    // another scene's items are not this model's
    const QString other = makeScene(1);
    QCOMPARE(inserted.size(), 1);
    p()->setPos(other, p()->getItemId(other, 0), QPoint(1, 1), false);

    // the scene goes: no rows
    RCScenePresenter::instance()->removeScene(m_scene, false);
    QCOMPARE(m_model->rowCount(), 0);
}

// What the canvas gives every row: its view properties.
void TestSceneItemModel::canvasPropertiesReachEveryRow_data()
{
    QTest::addColumn<QByteArray>("property");
    QTest::addColumn<int>("role");
    QTest::addColumn<QVariant>("value");
    QTest::newRow("view properties") << QByteArray("viewProperties")
                                     << int(RCSceneItemModel::ViewPropertiesRole)
                                     << QVariant(
                                            QVariantMap{{u"mInEditState"_s, false}, {u"mWidthDp"_s, 0.5}});
}

void TestSceneItemModel::canvasPropertiesReachEveryRow()
{
    QFETCH(QByteArray, property);
    QFETCH(int, role);
    QFETCH(QVariant, value);
    QSignalSpy changed(m_model, &QAbstractItemModel::dataChanged);
    QVERIFY(m_model->setProperty(property, value));
    QVERIFY(m_model->setProperty(property, value));
    QCOMPARE(changed.size(), 1);
    QCOMPARE(changed.at(0).at(0).toModelIndex().row(), 0);
    QCOMPARE(changed.at(0).at(1).toModelIndex().row(), m_model->rowCount() - 1);
    QCOMPARE(changed.at(0).at(2).value<QList<int>>(), QList<int>{role});
    for (int row = 0; row < m_model->rowCount(); ++row)
        QCOMPARE(m_model->data(m_model->index(row), role), value);
    // the rows of another scene get it too
    m_model->setSceneId(makeScene(2));
    QCOMPARE(m_model->data(m_model->index(1), role), value);
}

void TestSceneItemModel::sceneSwitchIsOneReset()
{
    const QString other = makeScene(300);
    QSignalSpy resets(m_model, &QAbstractItemModel::modelReset);
    QSignalSpy inserted(m_model, &QAbstractItemModel::rowsInserted);
    QSignalSpy changed(m_model, &QAbstractItemModel::dataChanged);
    m_model->setSceneId(other);
    QCOMPARE(resets.size(), 1);
    QCOMPARE(m_model->rowCount(), 300);
    m_model->setSceneId(other);
    QCOMPARE(resets.size(), 1);
    m_model->setSceneId(QString());
    QCOMPARE(resets.size(), 2);
    QCOMPARE(m_model->rowCount(), 0);
    QCOMPARE(inserted.size() + changed.size(), 0);
}

void TestSceneItemModel::dragStepIsOneChangePerRun_data()
{
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<Runs>("runs");
    QTest::newRow("all") << QList<int>{0, 1, 2, 3, 4, 5} << Runs{{0, 5}};
    QTest::newRow("two runs") << QList<int>{1, 2, 4, 5} << Runs{{1, 2}, {4, 5}};
    QTest::newRow("one") << QList<int>{3} << Runs{{3, 3}};
    QTest::newRow("none") << QList<int>{} << Runs{};
}

void TestSceneItemModel::dragStepIsOneChangePerRun()
{
    QFETCH(QList<int>, selected);
    QFETCH(Runs, runs);
    // selected in reverse, so that the selection's own order is not the scene's
    for (int i = int(selected.size()) - 1; i >= 0; --i)
        p()->setPropertyValue(m_scene, idAt(selected.at(i)), u"Select"_s, true, false);
    QSignalSpy changed(m_model, &QAbstractItemModel::dataChanged);

    for (int step = 1; step <= 3; ++step) {
        changed.clear();
        p()->moveSelectItems(m_scene, 5, -2, false);
        QCOMPARE(changed.size(), runs.size());
        for (qsizetype i = 0; i < runs.size(); ++i) {
            QCOMPARE(changed.at(i).at(0).toModelIndex().row(), runs.at(i).first);
            QCOMPARE(changed.at(i).at(1).toModelIndex().row(), runs.at(i).second);
            QCOMPARE(changed.at(i).at(2).value<QList<int>>(),
                     (QList<int>{RCSceneItemModel::XRole, RCSceneItemModel::YRole}));
        }
    }
    for (int row = 0; row < 6; ++row) {
        const QPoint moved = selected.contains(row) ? QPoint(15, -6) : QPoint();
        QCOMPARE(posAt(row), QPoint(10 * row, 20 * row) + moved);
    }
    QVERIFY(!RCCommandManager::instance()->canUndo());
}

void TestSceneItemModel::recordedMoveIsOneUndoStep()
{
    for (int row : {0, 2, 3})
        p()->setPropertyValue(m_scene, idAt(row), u"Select"_s, true, false);
    for (int step = 0; step < 10; ++step)
        p()->moveSelectItems(m_scene, 1, 2, false);
    p()->moveSelectItems(m_scene, -10, -20, false);
    p()->moveSelectItems(m_scene, 10, 20, true);
    QCOMPARE(posAt(2), QPoint(30, 60));
    QCOMPARE(undoAll(), 1);
    QCOMPARE(posAt(2), QPoint(20, 40));
    QCOMPARE(posAt(3), QPoint(30, 60));
    RCCommandManager::instance()->redo();
    QCOMPARE(posAt(0), QPoint(10, 20));
    QCOMPARE(posAt(1), QPoint(10, 20)); // not selected
}

using RoleLists = QList<QList<int>>;

void TestSceneItemModel::propertyChangeReachesItsRow_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<RoleLists>("roles");
    QTest::addColumn<int>("role");
    using M = RCSceneItemModel;
    QTest::newRow("name") << u"Name"_s << QVariant(u"n"_s) << RoleLists{{M::ValuesRole}}
                          << int(M::ValuesRole);
    QTest::newRow("select") << u"Select"_s << QVariant(true) << RoleLists{{M::SelectedRole}}
                            << int(M::SelectedRole);
    QTest::newRow("angle") << u"Angle"_s << QVariant(u"45.5"_s) << RoleLists{{M::AngleRole}}
                           << int(M::AngleRole);
    QTest::newRow("width") << u"Width"_s << QVariant(31) << RoleLists{{M::WidthRole}} << int(M::WidthRole);
    // a new view file: the values it is made with, then the file
    QTest::newRow("view file") << u"QmlPath"_s << QVariant(u"qrc:/qml/scenePanel/RCSceneItemLabel.qml"_s)
                               << RoleLists{{M::ValuesRole}, {M::QmlPathRole}} << int(M::QmlPathRole);
}

void TestSceneItemModel::propertyChangeReachesItsRow()
{
    QFETCH(QString, name);
    QFETCH(QVariant, value);
    QFETCH(RoleLists, roles);
    QFETCH(int, role);
    QSignalSpy changed(m_model, &QAbstractItemModel::dataChanged);
    p()->setPropertyValue(m_scene, idAt(2), name, value, false);
    QCOMPARE(changed.size(), roles.size());
    for (qsizetype i = 0; i < roles.size(); ++i) {
        QCOMPARE(changed.at(i).at(0).toModelIndex().row(), 2);
        QCOMPARE(changed.at(i).at(1).toModelIndex().row(), 2);
        QCOMPARE(changed.at(i).at(2).value<QList<int>>(), roles.at(i));
    }
    const QVariant shown = m_model->data(m_model->index(2), role);
    if (role == RCSceneItemModel::ValuesRole)
        QCOMPARE(shown.toMap().value(name), value);
    else if (role == RCSceneItemModel::AngleRole)
        QCOMPARE(shown.toInt(), 45);
    else
        QCOMPARE(shown, value);
    // the same value again moves nothing; another scene's items are not this model's
    p()->setPropertyValue(m_scene, idAt(2), name, value, false);
    const QString other = makeScene(1);
    p()->setPropertyValue(other, p()->getItemId(other, 0), name, value, false);
    QCoreApplication::processEvents();
    QCOMPARE(changed.size(), roles.size());
}

void TestSceneItemModel::changesAreAnnouncedAsRuns()
{
    QSignalSpy announced(m_model, &RCSceneItemModel::selectionBoxChanged);
    QSignalSpy changed(m_model, &QAbstractItemModel::dataChanged);
    QCoreApplication::processEvents();
    announced.clear();
    QCOMPARE(m_model->selectionBox(), QRect(0, 0, 0, 0));
    // a burst: the first eight changes at once, the rest once the event loop turns, as runs
    for (int row = 0; row < 6; ++row)
        p()->setPropertyValue(m_scene, idAt(row), u"Name"_s, u"n"_s, false);
    for (int row : {5, 4, 3, 2, 1})
        p()->setPropertyValue(m_scene, idAt(row), u"Select"_s, true, false);
    p()->setSize(m_scene, idAt(1), QSize(-5, 50), false);
    QCOMPARE(changed.size(), 8);
    QCOMPARE(announced.size(), 0);
    QCoreApplication::processEvents();
    using M = RCSceneItemModel;
    const QList<QList<int>> runs{{1, 1, M::WidthRole, M::HeightRole, M::SelectedRole},
                                 {2, 3, M::SelectedRole}};
    QCOMPARE(changed.size(), 8 + runs.size());
    for (qsizetype i = 0; i < runs.size(); ++i) {
        QCOMPARE(changed.at(8 + i).at(0).toModelIndex().row(), runs.at(i).at(0));
        QCOMPARE(changed.at(8 + i).at(1).toModelIndex().row(), runs.at(i).at(1));
        QCOMPARE(changed.at(8 + i).at(2).value<QList<int>>(), runs.at(i).mid(2));
    }
    QCOMPARE(announced.size(), 1);
    // rows 1 to 5: (10, 20) with no width and 50 high, then 30 x 40 at (10 i, 20 i)
    QCOMPARE(m_model->selectionBox(), QRect(10, 20, 70, 120));
    p()->moveSelectItems(m_scene, 5, 5, false);
    p()->removeItem(m_scene, idAt(5), false);
    QCoreApplication::processEvents();
    QCOMPARE(announced.size(), 2);
    QCOMPARE(m_model->selectionBox(), QRect(15, 25, 60, 100));
    for (int row = 1; row < 5; ++row)
        p()->setPropertyValue(m_scene, idAt(row), u"Select"_s, false, false);
    QCoreApplication::processEvents();
    QCOMPARE(m_model->selectionBox(), QRect(0, 0, 0, 0));
}

// Items joining the selection extend the box it had; one leaving it shrinks the box again.
void TestSceneItemModel::selectionBoxFollowsTheSelection()
{
    QSignalSpy announced(m_model, &RCSceneItemModel::selectionBoxChanged);
    QCOMPARE(m_model->selectionBox(), QRect(0, 0, 0, 0));
    // rows i: 30 x 40 at (10 i, 20 i)
    const QList<std::pair<int, bool>> steps{{2, true}, {4, true}, {3, true}, {4, false}};
    const QList<QRect> boxes{{20, 40, 30, 40}, {20, 40, 50, 80}, {20, 40, 50, 80}, {20, 40, 40, 60}};
    for (qsizetype i = 0; i < steps.size(); ++i) {
        p()->setPropertyValue(m_scene, idAt(steps.at(i).first), u"Select"_s, steps.at(i).second, false);
        QCoreApplication::processEvents();
        QCOMPARE(announced.size(), i + 1);
        QCOMPARE(m_model->selectionBox(), boxes.at(i));
    }
}

// Changes waiting for the event loop keep to their items while rows before them go and come back.
void TestSceneItemModel::waitingChangesFollowRowsThatComeAndGo()
{
    QCoreApplication::processEvents();
    const QStringList ids = p()->getItemIds(m_scene);
    for (int i = 0; i < 8; ++i)
        p()->setPropertyValue(m_scene, ids.at(i % 6), u"Name"_s, u"n%1"_s.arg(i), false);
    QSignalSpy changed(m_model, &QAbstractItemModel::dataChanged);
    p()->setPropertyValue(m_scene, ids.at(3), u"Select"_s, true, false);
    p()->setPropertyValue(m_scene, ids.at(4), u"Select"_s, true, false);
    p()->removeItem(m_scene, ids.at(1), true);
    p()->setPropertyValue(m_scene, ids.at(5), u"Select"_s, true, false);
    RCCommandManager::instance()->undo();
    QCOMPARE(changed.size(), 0);
    QCoreApplication::processEvents();
    QCOMPARE(changed.size(), 1);
    QCOMPARE(changed.at(0).at(0).toModelIndex().row(), 3);
    QCOMPARE(changed.at(0).at(1).toModelIndex().row(), 5);
    QCOMPARE(changed.at(0).at(2).value<QList<int>>(), QList<int>{RCSceneItemModel::SelectedRole});
}

QTEST_GUILESS_MAIN(TestSceneItemModel)
#include "tst_scene_item_model.moc"
