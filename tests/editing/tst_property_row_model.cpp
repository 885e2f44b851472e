// The property panel's row model under QAbstractItemModelTester on the real presenters: its rows
// and roles, which object it shows as the selection and the focus change, and its cost contract
// as signal counts: another object shown is one reset, one property change is one dataChanged of
// ValueRole on its one row, and a write is one undo step.
#include "EditingFixture.h"

#include "editing/Platform.h"
#include "editing/RCPropertyRowModel.h"
#include "editing/RCSceneItemPresenter.h"
#include "editing/RCScenePresenter.h"
#include "model/IRCObject.h"
#include "model/RCObjectManager.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace editing_fixture;
using M = RCPropertyRowModel;

class TestPropertyRowModel : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void rowsAndRoles();
    void shownObjectFollowsTheSelection_data();
    void shownObjectFollowsTheSelection();
    void oneChangeReachesOneRow_data();
    void oneChangeReachesOneRow();
    void writesAreUndoSteps();

private:
    RCScenePresenter* scenes() { return RCScenePresenter::instance(); }
    RCSceneItemPresenter* items() { return RCSceneItemPresenter::instance(); }
    QVariant at(const QString& name, int role) const
    {
        return m_model->data(m_model->index(m_model->rowOf(name)), role);
    }
    // The test's objects by name: scenes "S1", "S2" and items "a", "b" of S1; "" stays "".
    QString id(const QString& name) const { return m_ids.value(name); }
    // Moves the focus as the views do, through the object's "Focus"; "" clears it.
    void focus(const QString& name)
    {
        const QString target = name.isEmpty() ? m_model->focusId() : id(name);
        if (IRCObject* object = RCObjectManager::instance()->getObject(target))
            object->setFocus(!name.isEmpty());
        QCOMPARE(m_model->focusId(), id(name));
    }

    RCPropertyRowModel* m_model = nullptr;
    QAbstractItemModelTester* m_tester = nullptr;
    QHash<QString, QString> m_ids;
};

void TestPropertyRowModel::init()
{
    resetDocument();
    m_ids.clear();
    m_ids.insert(u"S1"_s, scenes()->addScene(u"场景1"_s, QString(), QString(), false));
    m_ids.insert(u"S2"_s, scenes()->addScene(u"场景2"_s, QString(), QString(), false));
    QJsonObject item = itemTemplate(u"按钮"_s);
    QJsonArray records = item.value(u"propertyArray"_s).toArray();
    const auto record = [](const QString& name, bool visible, int type, const QJsonObject& data) {
        return QJsonObject{{u"name"_s, name},
                           {u"description"_s, name + u"说明"_s},
                           {u"readonly"_s, false},
                           {u"visible"_s, visible},
                           {u"unit"_s, QString()},
                           {u"value"_s, 1},
                           {u"display"_s, QJsonObject{{u"type"_s, type}, {u"data"_s, data}}}};
    };
    records.append(record(u"Mode"_s, true, 4,
                          {{u"ComboBoxItemNameList"_s, QJsonArray{u"零"_s, u"一"_s, u"二"_s}},
                           {u"ComboBoxItemDataList"_s, QJsonArray{0, 1}}}));
    records.append(record(u"Picture"_s, true, 10, {})); // an image: no editor
    records.append(record(u"Hidden"_s, false, 2, {}));
    item.insert(u"propertyArray"_s, records);
    for (const QString& name : {u"a"_s, u"b"_s})
        m_ids.insert(name, items()->addItem(id(u"S1"_s), item, false));
    scenes()->setSelectScene(id(u"S1"_s));

    m_model = new RCPropertyRowModel(this);
    m_tester =
        new QAbstractItemModelTester(m_model, QAbstractItemModelTester::FailureReportingMode::Fatal, this);
    m_model->setScenePresenter(scenes());
    m_model->setSceneItemPresenter(items());
    // as the panel does: the focus from the platform
    connect(Platform::instance(), &Platform::objectFocusChanged, m_model, &RCPropertyRowModel::setFocusId);
}

void TestPropertyRowModel::cleanup()
{
    delete m_tester;
    delete m_model;
}

void TestPropertyRowModel::rowsAndRoles()
{
    focus(u"a"_s);
    QStringList expected;
    for (int i = 0; i < items()->getPropertyCount(id(u"S1"_s), id(u"a"_s)); ++i) {
        if (items()->getPropertyVisible(id(u"S1"_s), id(u"a"_s), i) &&
            !items()->getPropertyQmlFile(id(u"S1"_s), id(u"a"_s), i).isEmpty())
            expected << items()->getPropertyName(id(u"S1"_s), id(u"a"_s), i);
    }
    QStringList names;
    for (int row = 0; row < m_model->rowCount(); ++row)
        names << m_model->data(m_model->index(row), M::PropertyNameRole).toString();
    QCOMPARE(names, expected);
    QVERIFY(names.contains(u"Mode"_s) && !names.contains(u"Picture"_s) && !names.contains(u"Hidden"_s));
    QCOMPARE(m_model->rowOf(u"Focus"_s), -1);
    QCOMPARE(at(u"Name"_s, M::DescriptionRole).toString(), u"名称"_s);
    QCOMPARE(at(u"Name"_s, M::ValueRole).toString(), u"按钮"_s);
    QCOMPARE(at(u"X"_s, M::DisplayTypeRole).toInt(), 2);
    QCOMPARE(at(u"Mode"_s, M::ChoiceNamesRole).toStringList(), (QStringList{u"零"_s, u"一"_s}));
    QCOMPARE(at(u"Mode"_s, M::ChoiceValuesRole).toList(), (QVariantList{0, 1}));
    QCOMPARE(at(u"Name"_s, M::ChoiceValuesRole).toList(), QVariantList());
    QCOMPARE(m_model->roleNames().value(M::ValueRole), "value");

    // the item shown goes: no rows
    items()->removeItem(id(u"S1"_s), id(u"a"_s), true);
    QCOMPARE(m_model->rowCount(), 0);
    QCOMPARE(m_model->objectId(), QString());
}

// Where the focus is, which items of S1 are selected and which scene is selected, set in the order
// of `steps` (f: focus, s: selection, c: scene); what is shown.
void TestPropertyRowModel::shownObjectFollowsTheSelection_data()
{
    QTest::addColumn<QString>("focused");
    QTest::addColumn<QStringList>("selected");
    QTest::addColumn<QString>("scene");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("shown");
    const QStringList none;
    QTest::newRow("the focused item") << u"a"_s << none << u"S1"_s << u"fsc"_s << u"a"_s;
    QTest::newRow("the focused scene") << u"S1"_s << none << u"S1"_s << u"fsc"_s << u"S1"_s;
    QTest::newRow("a paste: the one selected")
        << u"a"_s << QStringList{u"b"_s} << u"S1"_s << u"fsc"_s << u"b"_s;
    QTest::newRow("then a focused scene") << u"S1"_s << QStringList{u"b"_s} << u"S1"_s << u"csf"_s << u"S1"_s;
    QTest::newRow("then a focused item") << u"a"_s << QStringList{u"b"_s} << u"S1"_s << u"csf"_s << u"a"_s;
    QTest::newRow("no focus, one selected")
        << QString() << QStringList{u"b"_s} << u"S1"_s << u"csf"_s << u"b"_s;
    QTest::newRow("two selected: the focus")
        << u"b"_s << QStringList{u"a"_s, u"b"_s} << u"S1"_s << u"fsc"_s << u"b"_s;
    QTest::newRow("no focus") << QString() << none << u"S1"_s << u"fsc"_s << QString();
    QTest::newRow("a scene added: focused item elsewhere")
        << u"a"_s << none << u"S2"_s << u"fsc"_s << u"S2"_s;
    QTest::newRow("a scene added: focused scene elsewhere")
        << u"S1"_s << QStringList{u"a"_s} << u"S2"_s << u"fsc"_s << u"S2"_s;
    QTest::newRow("a scene focused elsewhere, one selected")
        << u"S2"_s << QStringList{u"a"_s} << u"S1"_s << u"csf"_s << u"a"_s;
    QTest::newRow("no selected scene: a focused scene")
        << u"S2"_s << none << QString() << u"fsc"_s << u"S2"_s;
    QTest::newRow("no selected scene: a focused item")
        << u"a"_s << none << QString() << u"fsc"_s << QString();
}

void TestPropertyRowModel::shownObjectFollowsTheSelection()
{
    QFETCH(QString, focused);
    QFETCH(QStringList, selected);
    QFETCH(QString, scene);
    QFETCH(QString, steps);
    QFETCH(QString, shown);
    QSignalSpy resets(m_model, &QAbstractItemModel::modelReset);
    for (const QChar step : steps) {
        if (step == u'f') {
            focus(focused);
        } else if (step == u'c') {
            scenes()->setSelectScene(id(scene));
        } else {
            for (const QString& name : std::as_const(selected))
                items()->setPropertyValue(id(u"S1"_s), id(name), u"Select"_s, true, false);
        }
    }
    QCOMPARE(m_model->objectId(), id(shown));
    QCOMPARE(m_model->selectedItemCount(), scene == u"S1"_s ? selected.size() : 0);
    QCOMPARE(m_model->rowCount() > 0, !shown.isEmpty());
    const qsizetype before = resets.size();
    m_model->setFocusId(m_model->focusId());
    scenes()->setSelectScene(id(scene));
    QCOMPARE(resets.size(), before);
}

// A change of one property, and which row of the model it reaches (-1: none); a is shown.
void TestPropertyRowModel::oneChangeReachesOneRow_data()
{
    QTest::addColumn<QString>("object");
    QTest::addColumn<QString>("property");
    QTest::addColumn<bool>("reaches");
    QTest::newRow("a shown property") << u"a"_s << u"Name"_s << true;
    QTest::newRow("its place") << u"a"_s << u"X"_s << true;
    QTest::newRow("a choice") << u"a"_s << u"Mode"_s << true;
    QTest::newRow("a hidden property") << u"a"_s << u"Hidden"_s << false;
    QTest::newRow("another item's") << u"b"_s << u"Name"_s << false;
    QTest::newRow("the scene's") << u"S1"_s << u"Name"_s << false;
}

void TestPropertyRowModel::oneChangeReachesOneRow()
{
    QFETCH(QString, object);
    QFETCH(QString, property);
    QFETCH(bool, reaches);
    focus(u"a"_s);
    QSignalSpy changed(m_model, &QAbstractItemModel::dataChanged);
    QSignalSpy resets(m_model, &QAbstractItemModel::modelReset);
    const QVariant value = property == u"Name"_s ? QVariant(u"新"_s) : QVariant(7);
    if (object.startsWith(u'S'))
        scenes()->setPropertyValue(id(object), property, value, true);
    else
        items()->setPropertyValue(id(u"S1"_s), id(object), property, value, true);
    RCCommandManager::instance()->undo();
    RCCommandManager::instance()->redo();
    QCOMPARE(changed.size(), reaches ? 3 : 0);
    for (const QList<QVariant>& signal : std::as_const(changed)) {
        QCOMPARE(signal.at(0).toModelIndex().row(), m_model->rowOf(property));
        QCOMPARE(signal.at(1).toModelIndex().row(), m_model->rowOf(property));
        QCOMPARE(signal.at(2).value<QList<int>>(), QList<int>{M::ValueRole});
    }
    if (reaches)
        QCOMPARE(at(property, M::ValueRole), value);
    QCOMPARE(resets.size(), 0);
}

void TestPropertyRowModel::writesAreUndoSteps()
{
    for (const QString& shown : {u"a"_s, u"S1"_s}) {
        focus(shown);
        const QVariant before = at(u"Name"_s, M::ValueRole);
        const int row = m_model->rowOf(u"Name"_s);
        m_model->setValue(id(shown), row, before);
        QVERIFY2(!RCCommandManager::instance()->canUndo(), "the value it holds is not written");
        m_model->setValue(id(u"b"_s), row, u"改"_s);
        QVERIFY2(!RCCommandManager::instance()->canUndo(),
                 "a row of an object no longer shown writes nothing");
        m_model->setValue(id(shown), row, u"改"_s);
        QCOMPARE(at(u"Name"_s, M::ValueRole).toString(), u"改"_s);
        QCOMPARE(undoAll(), 1);
        QCOMPARE(at(u"Name"_s, M::ValueRole), before);
    }
}

QTEST_GUILESS_MAIN(TestPropertyRowModel)
#include "tst_property_row_model.moc"
