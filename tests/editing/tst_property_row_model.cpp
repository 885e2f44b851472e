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
#include <QJsonDocument>
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
    static void shownObjectRows(bool hidden);
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
    // a choice of three names for two values, an image (no editor) and a hidden property
    const QJsonArray extra = QJsonDocument::fromJson(R"([
        {"name": "Mode", "description": "模式", "readonly": false, "visible": true, "unit": "", "value": 1,
         "display": {"type": 4, "data": {"ComboBoxItemNameList": ["零", "一", "二"], "ComboBoxItemDataList": [0, 1]}}},
        {"name": "Picture", "description": "图", "readonly": false, "visible": true, "unit": "", "value": 1,
         "display": {"type": 10}},
        {"name": "Hidden", "description": "隐", "readonly": false, "visible": false, "unit": "", "value": 1,
         "display": {"type": 2}}])")
                                 .array();
    QJsonObject item = itemTemplate(u"按钮"_s);
    QJsonArray records = item.value(u"propertyArray"_s).toArray();
    for (const QJsonValue& record : extra)
        records.append(record);
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
    QCOMPARE(m_model->data(m_model->index(0), M::PropertyNameRole).toString(), u"Name"_s);
    QCOMPARE(m_model->rowOf(u"Mode"_s), m_model->rowCount() - 1);
    for (const QString& none : {u"Picture"_s, u"Hidden"_s, u"Focus"_s, u"Id"_s})
        QCOMPARE(m_model->rowOf(none), -1);
    QCOMPARE(at(u"Name"_s, M::DescriptionRole).toString(), u"名称"_s);
    QCOMPARE(at(u"Name"_s, M::ValueRole).toString(), u"按钮"_s);
    QCOMPARE(at(u"Name"_s, M::ObjectIdRole).toString(), id(u"a"_s));
    QCOMPARE(at(u"X"_s, M::DisplayTypeRole).toInt(), 2);
    QCOMPARE(at(u"Mode"_s, M::ChoiceNamesRole).toStringList(), (QStringList{u"零"_s, u"一"_s}));
    QCOMPARE(at(u"Mode"_s, M::ChoiceValuesRole).toList(), (QVariantList{0, 1}));
    QCOMPARE(at(u"Name"_s, M::ChoiceValuesRole).toList(), QVariantList());

    // the item shown goes: no rows
    items()->removeItem(id(u"S1"_s), id(u"a"_s), true);
    QCOMPARE(m_model->rowCount(), 0);
    QCOMPARE(m_model->objectId(), QString());
}

// Where the focus is, which items of S1 are selected and which scene is selected, set in the order
// of `steps` (f: focus, s: selection, c: scene); what is shown. Each case also runs with the model
// not shown during the steps: no rows and no reset then, the same object once shown.
void TestPropertyRowModel::shownObjectFollowsTheSelection_data()
{
    QTest::addColumn<QString>("focused");
    QTest::addColumn<QStringList>("selected");
    QTest::addColumn<QString>("scene");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("hidden");
    for (const bool hidden : {false, true})
        shownObjectRows(hidden);
}

void TestPropertyRowModel::shownObjectRows(bool hidden)
{
    const auto newRow = [hidden](const char* tag) -> QTestData& {
        return QTest::newRow(qPrintable(QString::fromUtf8(tag) + (hidden ? u", hidden"_s : QString())));
    };
    const QStringList none;
    newRow("the focused item") << u"a"_s << none << u"S1"_s << u"fsc"_s << u"a"_s << hidden;
    newRow("the focused scene") << u"S1"_s << none << u"S1"_s << u"fsc"_s << u"S1"_s << hidden;
    newRow("a paste: the one selected")
        << u"a"_s << QStringList{u"b"_s} << u"S1"_s << u"fsc"_s << u"b"_s << hidden;
    newRow("then a focused scene") << u"S1"_s << QStringList{u"b"_s} << u"S1"_s << u"csf"_s << u"S1"_s << hidden;
    newRow("then a focused item") << u"a"_s << QStringList{u"b"_s} << u"S1"_s << u"csf"_s << u"a"_s << hidden;
    newRow("no focus, one selected")
        << QString() << QStringList{u"b"_s} << u"S1"_s << u"csf"_s << u"b"_s << hidden;
    newRow("two selected: the focus")
        << u"b"_s << QStringList{u"a"_s, u"b"_s} << u"S1"_s << u"fsc"_s << u"b"_s << hidden;
    newRow("no focus") << QString() << none << u"S1"_s << u"fsc"_s << QString() << hidden;
    newRow("a scene added: focused item elsewhere")
        << u"a"_s << none << u"S2"_s << u"fsc"_s << u"S2"_s << hidden;
    newRow("a scene added: focused scene elsewhere")
        << u"S1"_s << QStringList{u"a"_s} << u"S2"_s << u"fsc"_s << u"S2"_s << hidden;
    newRow("a scene focused elsewhere, one selected")
        << u"S2"_s << QStringList{u"a"_s} << u"S1"_s << u"csf"_s << u"a"_s << hidden;
    newRow("no selected scene: a focused scene")
        << u"S2"_s << none << QString() << u"fsc"_s << u"S2"_s << hidden;
    newRow("no selected scene: a focused item")
        << u"a"_s << none << QString() << u"fsc"_s << QString() << hidden;
}

void TestPropertyRowModel::shownObjectFollowsTheSelection()
{
    QFETCH(QString, focused);
    QFETCH(QStringList, selected);
    QFETCH(QString, scene);
    QFETCH(QString, steps);
    QFETCH(QString, shown);
    QFETCH(bool, hidden);
    m_model->setShown(!hidden);
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
    // a change of the selection is followed once the event loop turns
    QCoreApplication::sendPostedEvents(m_model, QEvent::MetaCall);
    if (hidden) {
        QCOMPARE(QList<qsizetype>({resets.size(), m_model->rowCount()}), QList<qsizetype>({0, 0}));
        m_model->setShown(true);
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
