// Scene items: the merge of a description onto the default rows, JSON round trips, image rows,
// and the "Id" and "QmlPath" guards.
#include "ModelTestSupport.h"

#include "model/IRCProperty.h"
#include "model/IRCPropertyDisplay.h"
#include "model/RCProperties.h"
#include "model/RCSceneItem.h"
#include "model/RCSceneItemViews.h"

#include <QJSEngine>
#include <QJsonArray>
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

QTEST_GUILESS_MAIN(TestSceneItem)
#include "tst_sceneitem.moc"
