// Scene items: the merge of a description onto the default rows, JSON round trips, image rows,
// the "Id" and "QmlPath" guards, and hostile input: records from files, the clipboard, other panels
// or a media server that carry deeply nested values, values of the wrong JSON type, huge or negative
// numbers and repeated keys. Whatever is loaded must be written as a project that reads back to the
// same document.
#include "ModelTestSupport.h"

#include "model/IRCProperty.h"
#include "model/IRCPropertyDisplay.h"
#include "model/RCProperties.h"
#include "model/RCScene.h"
#include "model/RCSceneItem.h"
#include "model/RCSceneItemViews.h"
#include "model/RCSceneManager.h"
#include "model/RCTypedValue.h"

#include <QJSEngine>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QtTest>

using model_test::kItemRows;
using model_test::record;

namespace {

QStringList rowNames(const RCSceneItem& item)
{
    return model_test::propertyNames(item.getProperties());
}

QJsonObject description(const QJsonArray& rows)
{
    return QJsonObject{{"propertyArray", rows}};
}

// The rows a control template of the action-button kind hands to a new item.
QJsonObject actionButtonTemplate()
{
    return description(
        QJsonArray{record("Width", 100, 2), record("Height", 50, 2),
                   record("QmlPath", "qrc:/qml/scenePanel/RCSceneItemActionButton.qml", 0, false, false),
                   record("ControlType", 7, 2, false, false), record("Name", "播放上一个"),
                   record("IconPath", "qrc:/control/playPre.png", 1),
                   record("CmdType", "playPreProgram", 0, true, false),
                   record("ActionType", 1, 2, true, false), record("ClickAreaCheck", false, 5)});
}

QJsonValue nestedArrays(int depth)
{
    QJsonValue value = 1;
    for (int i = 0; i < depth; ++i)
        value = QJsonArray{value};
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
    auto* item = new RCSceneItem(description(rows), nullptr);
    scene->addItem(item);
    return item;
}

} // namespace

class TestSceneItem : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void templateMerge();
    void roundTrip();
    void idGuards();
    void imageRows();
    void viewPathFromFile_data();
    void viewPathFromFile();

    void nestingBound_data();
    void nestingBound();
    void deepItemValueKeepsProjectReadable_data();
    void deepItemValueKeepsProjectReadable();
    void deepValuesFromPanelsRefused();
    void wrongTypesInEveryRow();
};

void TestSceneItem::templateMerge()
{
    RCSceneItem item(actionButtonTemplate(), nullptr);
    QCOMPARE(rowNames(item),
             kItemRows + QStringList({"IconPath", "CmdType", "ActionType", "ClickAreaCheck"}));
    RCProperties* p = item.getProperties();
    QCOMPARE(item.getSize(), QSize(100, 50));
    QCOMPARE(p->getPropertyValue("ControlType").toInt(), 7);
    QCOMPARE(p->getProperty("Name")->getDescription(), QString("Name text"));
    // Rows the template does not name keep their defaults.
    QCOMPARE(p->getPropertyValue("TextColor").toString(), QString("#ffffff"));
    QCOMPARE(p->getProperty("X")->getDescription(), QString("横向"));
}

void TestSceneItem::roundTrip()
{
    RCSceneItem item(actionButtonTemplate(), nullptr);
    QCOMPARE(item.getObjectType(), eIRCObjectType_SceneItem);
    item.setPos(QPoint(12, 34));
    item.setSize(QSize(7, 8));
    item.setPropertyValue("Select", true);
    const QJsonObject json = item.toJson();
    QCOMPARE(json.keys(), QStringList({"propertyArray"}));
    RCSceneItem copy(json, nullptr);
    QCOMPARE(copy.getId(), item.getId());
    QCOMPARE(copy.getPos(), QPoint(12, 34));
    QCOMPARE(copy.toJson(), json);
    // Two items of one template differ in their ids only.
    QVERIFY(RCSceneItem(actionButtonTemplate(), nullptr).getId() != item.getId());

    // The default item, with its default view path, survives unchanged; a description without an
    // array changes nothing.
    RCSceneItem plain;
    QCOMPARE(RCSceneItem(plain.toJson(), nullptr).toJson(), plain.toJson());
    const QJsonObject before = plain.toJson();
    QVERIFY(plain.fromJson(QJsonObject{{"propertyArray", "not an array"}}));
    QCOMPARE(plain.toJson(), before);
}

void TestSceneItem::idGuards()
{
    RCSceneItem item;
    const QString id = item.getId();
    QCOMPARE(id.size(), 38);
    QSignalSpy spy(&item, &IRCObject::propertyValueChanged);
    item.setPropertyValue("Id", "{other}");
    QCOMPARE(item.getId(), id);
    // A record sets it; without its read-only flag the row stays read-only, silently.
    QSignalSpy readOnly(item.getProperties(), &RCProperties::propertyReadOnlyChanged);
    QVERIFY(item.fromJson(description(QJsonArray{QJsonObject{{"name", "Id"}, {"value", "{abc}"}}})));
    QCOMPARE(item.getId(), QString("{abc}"));
    QVERIFY(item.getProperties()->getProperty("Id")->getReadOnly());
    item.setPropertyValue("Id", "{changed}");
    QCOMPARE(item.getId(), QString("{abc}"));
    QCOMPARE(spy.count(), 0);
    QCOMPARE(readOnly.count(), 0);
    // An empty or absent id gets a fresh one.
    for (const QJsonObject& record :
         {QJsonObject{{"name", "Id"}, {"value", ""}}, QJsonObject{{"name", "Id"}}})
        QCOMPARE(RCSceneItem(description(QJsonArray{record}), nullptr).getId().size(), 38);
}

void TestSceneItem::imageRows()
{
    RCSceneItem plain;
    QVERIFY(plain.getImagePropertyValues().isEmpty());

    RCSceneItem item(
        description(QJsonArray{record("StopIconPath", "qrc:/control/stop.png", 1),
                               record("BackImage", "rcimg:/a.png", 10), record("Broken", QJsonValue(), 1),
                               record("AName", "not an image", 0)}),
        nullptr);
    const QMap<QString, QVariant> images = item.getImagePropertyValues();
    QCOMPARE(images.keys(), QStringList({"BackImage", "StopIconPath"}));
    QCOMPARE(images.value("BackImage").toString(), QString("rcimg:/a.png"));
}

void TestSceneItem::viewPathFromFile_data()
{
    QTest::addColumn<QJsonValue>("path");
    QTest::addColumn<int>("controlType");
    QTest::addColumn<QString>("expected");
    const QString label = "qrc:/qml/scenePanel/RCSceneItemLabel.qml";
    const QString button = "qrc:/qml/scenePanel/RCSceneItemActionButton.qml";
    QTest::newRow("known view kept") << QJsonValue(label) << 7 << label;
    QTest::newRow("file url, kind 21") << QJsonValue("file:///tmp/evil.qml") << 21 << label;
    QTest::newRow("http url, kind 7") << QJsonValue("http://example.invalid/x.qml") << 7 << button;
    QTest::newRow("https url, no kind")
        << QJsonValue("https://example.invalid/x.qml") << 0 << "qrc:/RCSceneItemButton.qml";
    QTest::newRow("other qrc file") << QJsonValue("qrc:/qml/main/RCMainWindow.qml") << 21 << label;
    QTest::newRow("escaping folder") << QJsonValue("qrc:/qml/scenePanel/../main/RCMainWindow.qml") << 41
                                     << "qrc:/RCSceneItemButton.qml";
    QTest::newRow("case differs") << QJsonValue("QRC:/qml/scenePanel/RCSceneItemLabel.qml") << 21 << label;
    QTest::newRow("bare file name") << QJsonValue("RCSceneItemLabel.qml") << 21 << label;
    QTest::newRow("not a string") << QJsonValue(5) << 7 << button;
    QTest::newRow("default path kept")
        << QJsonValue("qrc:/RCSceneItemButton.qml") << 0 << "qrc:/RCSceneItemButton.qml";
}

void TestSceneItem::viewPathFromFile()
{
    QFETCH(QJsonValue, path);
    QFETCH(int, controlType);
    QFETCH(QString, expected);
    const QJsonObject json = description(
        QJsonArray{record("ControlType", controlType, 2), record("QmlPath", path, 0, false, false)});
    RCSceneItem item(json, nullptr);
    QCOMPARE(item.getPropertyValue("QmlPath").toString(), expected);
    const QString written =
        item.toJson().value("propertyArray").toArray().at(12).toObject().value("value").toString();
    QCOMPARE(written, expected);
    QVERIFY(!written.startsWith("file:") && !written.startsWith("http"));

    // fromJson on an existing item applies the same rule.
    RCSceneItem existing;
    existing.fromJson(json);
    QCOMPARE(existing.getPropertyValue("QmlPath").toString(), expected);

    // Set from QML, also as a script value, an unknown view is refused; a known one is taken as text.
    QJSEngine engine;
    QSignalSpy spy(&existing, &IRCObject::propertyValueChanged);
    existing.setPropertyValue("QmlPath", path.toVariant());
    existing.setPropertyValue("QmlPath", QVariant::fromValue(engine.toScriptValue(path.toVariant())));
    QCOMPARE(spy.count(), 0);
    const QString exit = "qrc:/qml/scenePanel/RCSceneItemExit.qml";
    existing.setPropertyValue("QmlPath", QVariant::fromValue(engine.toScriptValue(exit)));
    QCOMPARE(existing.getPropertyValue("QmlPath"), QVariant(exit));
    QCOMPARE(spy.count(), 1);
}

void TestSceneItem::nestingBound_data()
{
    QTest::addColumn<QJsonValue>("json");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("arrays at the bound") << nestedArrays(kMaxValueNesting) << true;
    QTest::newRow("arrays past the bound") << nestedArrays(kMaxValueNesting + 1) << false;
    QJsonValue objects = 1;
    for (int i = 0; i < kMaxValueNesting + 1; ++i)
        objects = QJsonObject{{"k", objects}};
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

void TestSceneItem::nestingBound()
{
    QFETCH(QJsonValue, json);
    QFETCH(bool, accepted);
    bool ok = true;
    if (!accepted)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Not Implemented"));
    const QVariant value = jsonValueToVariant(json, &ok);
    QCOMPARE(ok, accepted);
    QCOMPARE(exceedsValueNesting(value), false);
    if (!accepted && json.isString()) {
        QCOMPARE(value, QVariant(json.toString())); // a text that cannot be read stays text
    }
}

void TestSceneItem::deepItemValueKeepsProjectReadable_data()
{
    QTest::addColumn<QJsonValue>("deep");
    // Close to the reader's own limit of 1024 levels once the project wraps it.
    QTest::newRow("value") << nestedArrays(1015);
    QTest::newRow("typed text") << QJsonValue("#JsonArray#" + nestedArrayText(1015));
}

void TestSceneItem::deepItemValueKeepsProjectReadable()
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

void TestSceneItem::deepValuesFromPanelsRefused()
{
    RCSceneManager manager;
    RCSceneItem* item = loadItem(manager, QJsonArray{record("Id", "{panel}"), record("List", QJsonArray{1})});
    IRCProperty* list = item->getProperties()->getProperty("List");
    QVariant deep = 1;
    for (int i = 0; i < 1100; ++i)
        deep = QVariantList{deep};
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("refused a value of List"));
    QVERIFY(!list->setValue(deep));
    QCOMPARE(list->getValue(), QVariant(QVariantList{1.0}));

    QVariantMap deepMap{{"k", 1}};
    for (int i = 0; i < kMaxValueNesting; ++i)
        deepMap = QVariantMap{{"k", deepMap}};
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("refused data Choices"));
    list->getDisplay()->setData("Choices", deepMap);
    QVERIFY(!list->getDisplay()->getData("Choices").isValid());

    QVERIFY(list->setValue(QVariantList{QVariantList{2}}));
    QVERIFY(roundTrips(manager));
}

void TestSceneItem::wrongTypesInEveryRow()
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
        for (const QString& name : kItemRows)
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

QTEST_GUILESS_MAIN(TestSceneItem)
#include "tst_sceneitem.moc"
