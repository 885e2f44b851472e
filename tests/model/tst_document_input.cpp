// Hostile document input: records from files, the clipboard, other panels or a media server that
// carry deeply nested values, values of the wrong JSON type, huge or negative numbers and repeated
// keys. Whatever is loaded must be written as a project that reads back to the same document.
#include "ModelTestSupport.h"

#include "model/IRCProperty.h"
#include "model/IRCPropertyDisplay.h"
#include "model/RCObjectManager.h"
#include "model/RCProperties.h"
#include "model/RCProperty.h"
#include "model/RCScene.h"
#include "model/RCSceneItem.h"
#include "model/RCSceneItemViews.h"
#include "model/RCSceneManager.h"
#include "model/RCTypedValue.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

using model_test::record;

namespace {

QJsonValue nestedArrays(int depth)
{
    QJsonValue value = 1;
    for (int i = 0; i < depth; ++i) {
        value = QJsonArray{value};
    }
    return value;
}

QString nestedArrayText(int depth)
{
    return QString(depth, u'[') + QString(depth, u']');
}

// Saves the manager's scene list as a project file, empties the manager (its ids are free again, as
// when a project is closed) and reads the file back into a fresh manager. True when the document read
// back is the one saved.
bool roundTrips(RCSceneManager& manager)
{
    const QJsonObject saved = manager.toJson();
    const QByteArray file = QJsonDocument(QJsonObject{{"version", "3.0.0"}, {"sceneArray", saved}}).toJson();
    manager.fromJson(QJsonObject());
    RCSceneManager fresh;
    fresh.fromJson(QJsonDocument::fromJson(file).object().value("sceneArray").toObject());
    return fresh.toJson() == saved;
}

// One scene holding one item built from rows; the manager is the caller's.
RCSceneItem* loadItem(RCSceneManager& manager, const QJsonArray& rows)
{
    auto* scene = new RCScene;
    manager.addScene(scene, -1);
    auto* item = new RCSceneItem(QJsonObject{{"propertyArray", rows}}, nullptr);
    scene->addItem(item);
    return item;
}

} // namespace

class TestDocumentInput : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void nestingBound_data();
    void nestingBound();
    void deepItemValueKeepsProjectReadable_data();
    void deepItemValueKeepsProjectReadable();
    void deepValuesFromPanelsRefused();
    void wrongTypesInEveryRow();
};

void TestDocumentInput::nestingBound_data()
{
    QTest::addColumn<QJsonValue>("json");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("arrays at the bound") << nestedArrays(kMaxValueNesting) << true;
    QTest::newRow("arrays past the bound") << nestedArrays(kMaxValueNesting + 1) << false;
    QJsonValue objects = 1;
    for (int i = 0; i < kMaxValueNesting + 1; ++i) {
        objects = QJsonObject{{"k", objects}};
    }
    QTest::newRow("objects past the bound") << objects << false;
    QTest::newRow("mixed past the bound") << QJsonValue(QJsonArray{QJsonObject{{"a", objects}}}) << false;
    QTest::newRow("typed array text at the bound")
        << QJsonValue("#JsonArray#" + nestedArrayText(kMaxValueNesting)) << true;
    QTest::newRow("typed array text past the bound")
        << QJsonValue("#JsonArray#" + nestedArrayText(kMaxValueNesting + 1)) << false;
    QTest::newRow("typed object text past the bound")
        << QJsonValue("#JsonObject#" + QString::fromUtf8(QJsonDocument(objects.toObject()).toJson()))
        << false;
    QTest::newRow("wide and flat") << QJsonValue(QJsonArray::fromStringList(QStringList(5000, "x"))) << true;
}

void TestDocumentInput::nestingBound()
{
    QFETCH(QJsonValue, json);
    QFETCH(bool, accepted);
    bool ok = true;
    if (!accepted) {
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Not Implemented"));
    }
    const QVariant value = jsonValueToVariant(json, &ok);
    QCOMPARE(ok, accepted);
    QCOMPARE(exceedsValueNesting(value), false);
    if (!accepted && json.isString()) {
        QCOMPARE(value, QVariant(json.toString())); // a text that cannot be read stays text
    }
}

void TestDocumentInput::deepItemValueKeepsProjectReadable_data()
{
    QTest::addColumn<QJsonValue>("deep");
    // Close to the reader's own limit of 1024 levels once the project wraps it.
    QTest::newRow("value") << nestedArrays(1015);
    QTest::newRow("typed text") << QJsonValue("#JsonArray#" + nestedArrayText(1015));
}

void TestDocumentInput::deepItemValueKeepsProjectReadable()
{
    QFETCH(QJsonValue, deep);
    RCSceneManager manager;
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Not Implemented"));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("cannot read the value of Deep"));
    RCSceneItem* item =
        loadItem(manager, QJsonArray{record("Id", "{deep}"), record("Name", "kept"), record("Deep", deep)});

    QCOMPARE(item->getName(), QString("kept"));
    QVERIFY(item->getProperties()->getProperty("Deep"));
    QVERIFY(!item->getPropertyValue("Deep").isValid());

    QVERIFY(roundTrips(manager));
}

void TestDocumentInput::deepValuesFromPanelsRefused()
{
    RCSceneManager manager;
    RCSceneItem* item = loadItem(manager, QJsonArray{record("Id", "{panel}"), record("List", QJsonArray{1})});
    IRCProperty* list = item->getProperties()->getProperty("List");
    QVariant deep = 1;
    for (int i = 0; i < 1100; ++i) {
        deep = QVariantList{deep};
    }
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("refused a value of List"));
    QVERIFY(!list->setValue(deep));
    QCOMPARE(list->getValue(), QVariant(QVariantList{1.0}));

    QVariantMap deepMap{{"k", 1}};
    for (int i = 0; i < kMaxValueNesting; ++i) {
        deepMap = QVariantMap{{"k", deepMap}};
    }
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("refused data Choices"));
    list->getDisplay()->setData("Choices", deepMap);
    QVERIFY(!list->getDisplay()->getData("Choices").isValid());

    QVERIFY(list->setValue(QVariantList{QVariantList{2}}));
    QVERIFY(roundTrips(manager));
}

void TestDocumentInput::wrongTypesInEveryRow()
{
    // Every default row of an item given a value of another JSON type, and records that are not
    // records at all: the item loads, keeps a usable id and view, and round-trips.
    const QJsonValue odd[] = {QJsonValue(),           true, -1e300, 1e300, "text", QJsonArray{1, "a"},
                              QJsonObject{{"k", "v"}}};
    for (const QJsonValue& value : odd) {
        // A record whose every field holds the odd value, its display as given.
        const auto oddRecord = [&value](const QString& name, const QJsonValue& display) {
            return QJsonObject{{"name", name},      {"description", value}, {"readonly", value},
                               {"visible", value},  {"unit", value},        {"value", value},
                               {"display", display}};
        };
        QJsonArray rows;
        for (const QString& name : model_test::kItemRows)
            rows.append(oddRecord(name, value));
        rows.append(value);
        rows.append(QJsonObject{{"name", value}, {"display", QJsonObject{{"type", value}, {"data", value}}}});

        RCSceneManager manager;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("refused the view"));
        RCSceneItem* item = loadItem(manager, rows);
        QVERIFY(!item->getId().isEmpty());
        QVERIFY(item->getProperties()->getProperty("Id")->getReadOnly());
        const QString view = item->getPropertyValue("QmlPath").toString();
        QVERIFY2(RCSceneItemViews::isKnownViewPath(view) || view == RCSceneItem::defaultQmlPath(),
                 qPrintable(view));
        (void)item->getPos();
        (void)item->getSize();
        (void)item->getImagePropertyValues();
        QVERIFY(roundTrips(manager));

        // The same for the rows of a scene, and an item list that is not a list.
        QJsonArray sceneRows;
        for (const QString& name : model_test::kSceneRows)
            sceneRows.append(oddRecord(name, QJsonObject{{"type", value}, {"data", value}}));
        manager.fromJson(QJsonObject{
            {"sceneArray",
             QJsonArray{QJsonObject{{"propertyArray", sceneRows}, {"itemArray", value}}, value}}});
        QCOMPARE(manager.getSceneCount(), 2);
        QVERIFY(!manager.sceneAt(0)->getId().isEmpty());
        QVERIFY(manager.sceneAt(0)->getId() != manager.sceneAt(1)->getId());
        QVERIFY(roundTrips(manager));
    }
}

QTEST_GUILESS_MAIN(TestDocumentInput)
#include "tst_document_input.moc"
