// Scene items: default rows, the merge of a description onto them, JSON round trips,
// the typed getters and setters, and the "Id" and "QmlPath" guards.
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

namespace {

QStringList rowNames(const RCSceneItem& item)
{
    return model_test::propertyNames(item.getProperties());
}

QJsonObject row(const QString& name, const QJsonValue& value, int displayType = 0, bool readOnly = false,
                bool visible = true)
{
    return QJsonObject{{"name", name},
                       {"description", name + " text"},
                       {"readonly", readOnly},
                       {"visible", visible},
                       {"unit", ""},
                       {"value", value},
                       {"display", QJsonObject{{"type", displayType}, {"data", QJsonObject()}}}};
}

QJsonObject description(const QJsonArray& rows)
{
    return QJsonObject{{"propertyArray", rows}};
}

// The rows a control template of the action-button kind hands to a new item.
QJsonObject actionButtonTemplate()
{
    return description(QJsonArray{
        row("Width", 100, 2), row("Height", 50, 2),
        row("QmlPath", "qrc:/qml/scenePanel/RCSceneItemActionButton.qml", 0, false, false),
        row("ControlType", 7, 2, false, false), row("Name", "播放上一个"),
        row("IconPath", "qrc:/control/playPre.png", 1), row("CmdType", "playPreProgram", 0, true, false),
        row("ActionType", 1, 2, true, false), row("ClickAreaCheck", false, 5)});
}

const QStringList kDefaultRows = {"Id",       "ControlType", "Name",    "ObjectName", "X",
                                  "Y",        "Width",       "Height",  "Angle",      "TextColor",
                                  "TextSize", "TextBold",    "QmlPath", "Focus",      "Select"};

} // namespace

class TestSceneItem : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void defaultRows();
    void idsDiffer();
    void templateMergeOrder();
    void reducedRecordMerge();
    void roundTrip();
    void posAndSizeSignals();
    void idIsReadOnly();
    void idStaysReadOnlyWithoutFlag();
    void emptyIdGetsFreshOne();
    void focusTwiceEmitsOnce();
    void imageRows();
    void descriptionWithoutArrayChangesNothing();

    void knownViewsList();
    void viewPathFromFile_data();
    void viewPathFromFile();
    void setPropertyValueRefusesUnknownView();
};

void TestSceneItem::defaultRows()
{
    RCSceneItem item;
    QCOMPARE(rowNames(item), kDefaultRows);
    QCOMPARE(item.getObjectType(), eIRCObjectType_SceneItem);
    const QString id = item.getId();
    QCOMPARE(id.size(), 38);
    QVERIFY(id.startsWith('{') && id.endsWith('}'));
    RCProperties* p = item.getProperties();
    QVERIFY(p->getProperty("Id")->getReadOnly());
    QCOMPARE(p->getPropertyValue("ControlType"), QVariant(0));
    QCOMPARE(p->getPropertyValue("Name").toString(), QString("按钮"));
    QCOMPARE(p->getPropertyValue("ObjectName").toString(), QString("标签"));
    QCOMPARE(item.getSize(), QSize(100, 100));
    QCOMPARE(p->getProperty("Width")->getDescription(), QString("横向"));
    QCOMPARE(p->getPropertyValue("TextColor").toString(), QString("#ffffff"));
    QCOMPARE(int(p->getProperty("TextColor")->getDisplay()->getType()), 14);
    QCOMPARE(int(p->getProperty("TextSize")->getDisplay()->getType()), 0);
    QCOMPARE(p->getPropertyValue("TextSize"), QVariant(12));
    QCOMPARE(p->getPropertyValue("QmlPath").toString(), QString("qrc:/RCSceneItemButton.qml"));
    QVERIFY(!p->getProperty("QmlPath")->getVisible());
    QVERIFY(!p->getProperty("Select")->getVisible());
    for (int i = 0; i < p->count(); ++i) {
        QVERIFY(p->getPropertyAt(i)->getUnit().isEmpty());
    }
}

void TestSceneItem::idsDiffer()
{
    RCSceneItem a(actionButtonTemplate(), nullptr);
    RCSceneItem b(actionButtonTemplate(), nullptr);
    QVERIFY(a.getId() != b.getId());
    QJsonArray ra = a.toJson().value("propertyArray").toArray();
    QJsonArray rb = b.toJson().value("propertyArray").toArray();
    ra.removeAt(0);
    rb.removeAt(0);
    QCOMPARE(ra, rb);
}

void TestSceneItem::templateMergeOrder()
{
    RCSceneItem item(actionButtonTemplate(), nullptr);
    QStringList expected = kDefaultRows;
    expected << "IconPath"
             << "CmdType"
             << "ActionType"
             << "ClickAreaCheck";
    QCOMPARE(rowNames(item), expected);
    RCProperties* p = item.getProperties();
    QCOMPARE(item.getSize(), QSize(100, 50));
    QCOMPARE(p->getPropertyValue("QmlPath").toString(),
             QString("qrc:/qml/scenePanel/RCSceneItemActionButton.qml"));
    QCOMPARE(p->getPropertyValue("ControlType").toInt(), 7);
    QCOMPARE(int(p->getProperty("ControlType")->getDisplay()->getType()), 2);
    QCOMPARE(p->getProperty("Name")->getDescription(), QString("Name text"));
    QCOMPARE(p->getPropertyValue("Name").toString(), QString("播放上一个"));
    // Rows the template does not name keep their defaults.
    QCOMPARE(p->getPropertyValue("TextColor").toString(), QString("#ffffff"));
    QCOMPARE(p->getProperty("X")->getDescription(), QString("横向"));
}

void TestSceneItem::reducedRecordMerge()
{
    RCSceneItem item(description(QJsonArray{QJsonObject{{"name", "Width"}, {"value", 300}},
                                            QJsonObject{{"name", "Extra"}, {"value", "e"}}}),
                     nullptr);
    const QStringList names = rowNames(item);
    QCOMPARE(names.size(), 16);
    QCOMPARE(names.indexOf("Width"), 6);
    QCOMPARE(names.last(), QString("Extra"));
    IRCProperty* width = item.getProperties()->getProperty("Width");
    QCOMPARE(width->getValue().toDouble(), 300.0);
    QVERIFY(width->getDescription().isEmpty());
    QVERIFY(!width->getVisible());
    QCOMPARE(int(width->getDisplay()->getType()), 0);
    QCOMPARE(item.getSize(), QSize(300, 100));
}

void TestSceneItem::roundTrip()
{
    RCSceneItem item(actionButtonTemplate(), nullptr);
    item.setPos(QPoint(12, 34));
    item.setPropertyValue("TextBold", true);
    item.setPropertyValue("Select", true);
    const QJsonObject json = item.toJson();
    QCOMPARE(json.keys(), QStringList({"propertyArray"}));

    RCSceneItem copy(json, nullptr);
    QCOMPARE(copy.getId(), item.getId());
    QCOMPARE(rowNames(copy), rowNames(item));
    QCOMPARE(copy.getPos(), QPoint(12, 34));
    QCOMPARE(copy.toJson(), json);

    // The default item, with its default view path, survives a round trip unchanged too.
    RCSceneItem plain;
    RCSceneItem plainCopy(plain.toJson(), nullptr);
    QCOMPARE(plainCopy.toJson(), plain.toJson());
}

void TestSceneItem::posAndSizeSignals()
{
    RCSceneItem item;
    QSignalSpy spy(&item, &IRCObject::propertyValueChanged);
    item.setPos(QPoint(5, 0));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.first().at(0).toString(), QString("X"));
    QCOMPARE(spy.first().at(1).toInt(), 5);
    item.setSize(item.getSize());
    QCOMPARE(spy.count(), 1);
    item.setSize(QSize(7, 8));
    QCOMPARE(spy.count(), 3);
    QCOMPARE(spy.at(1).at(0).toString(), QString("Width"));
    QCOMPARE(spy.at(2).at(0).toString(), QString("Height"));
    QCOMPARE(item.getSize(), QSize(7, 8));
}

void TestSceneItem::idIsReadOnly()
{
    RCSceneItem item;
    const QString id = item.getId();
    QSignalSpy spy(&item, &IRCObject::propertyValueChanged);
    item.setPropertyValue("Id", "{other}");
    QCOMPARE(item.getId(), id);
    QCOMPARE(spy.count(), 0);

    QVERIFY(item.fromJson(
        description(QJsonArray{row("Id", "{11111111-2222-3333-4444-555555555555}", 0, true, false)})));
    QCOMPARE(item.getId(), QString("{11111111-2222-3333-4444-555555555555}"));
    QCOMPARE(spy.count(), 0);
}

void TestSceneItem::idStaysReadOnlyWithoutFlag()
{
    const QJsonObject reduced = description(QJsonArray{QJsonObject{{"name", "Id"}, {"value", "{abc}"}}});
    RCSceneItem item(reduced, nullptr);
    QCOMPARE(item.getId(), QString("{abc}"));
    QVERIFY(item.getProperties()->getProperty("Id")->getReadOnly());
    item.setPropertyValue("Id", "{changed}");
    QCOMPARE(item.getId(), QString("{abc}"));

    RCSceneItem other;
    QSignalSpy spy(other.getProperties(), &RCProperties::propertyReadOnlyChanged);
    other.fromJson(reduced);
    QVERIFY(other.getProperties()->getProperty("Id")->getReadOnly());
    QCOMPARE(spy.count(), 0);
}

void TestSceneItem::emptyIdGetsFreshOne()
{
    RCSceneItem item(description(QJsonArray{QJsonObject{{"name", "Id"}, {"value", ""}}}), nullptr);
    QCOMPARE(item.getId().size(), 38);
    RCSceneItem item2(description(QJsonArray{QJsonObject{{"name", "Id"}}}), nullptr);
    QCOMPARE(item2.getId().size(), 38);
}

void TestSceneItem::focusTwiceEmitsOnce()
{
    RCSceneItem item;
    QSignalSpy spy(&item, &IRCObject::propertyValueChanged);
    item.setFocus(true);
    item.setFocus(true);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.first().at(0).toString(), QString("Focus"));
}

void TestSceneItem::imageRows()
{
    RCSceneItem plain;
    QVERIFY(plain.getImagePropertyValues().isEmpty());

    RCSceneItem item(description(QJsonArray{row("StopIconPath", "qrc:/control/stop.png", 1),
                                            row("BackImage", "rcimg:/a.png", 10),
                                            row("Broken", QJsonValue(), 1), row("AName", "not an image", 0)}),
                     nullptr);
    const QMap<QString, QVariant> images = item.getImagePropertyValues();
    QCOMPARE(images.keys(), QStringList({"BackImage", "StopIconPath"}));
    QCOMPARE(images.value("BackImage").toString(), QString("rcimg:/a.png"));
}

void TestSceneItem::descriptionWithoutArrayChangesNothing()
{
    RCSceneItem item;
    const QJsonObject before = item.toJson();
    QVERIFY(item.fromJson(QJsonObject{{"other", 1}}));
    QVERIFY(item.fromJson(QJsonObject{{"propertyArray", "not an array"}}));
    QCOMPARE(item.toJson(), before);
}

void TestSceneItem::knownViewsList()
{
    QCOMPARE(RCSceneItemViews::fileNames().size(), 25);
    QCOMPARE(RCSceneItemViews::folder(), QString("qrc:/qml/scenePanel/"));
    for (const QString& file : RCSceneItemViews::fileNames()) {
        QVERIFY(RCSceneItemViews::isKnownViewPath("qrc:/qml/scenePanel/" + file));
    }
    // Every kind of the catalogue maps to a known view; ids without a kind map to none.
    const QList<int> kinds = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 15, 43, 16,
                              17, 18, 13, 14, 19, 21, 22, 26, 27, 23, 24, 28, 29, 30, 31,
                              32, 33, 34, 42, 35, 36, 37, 38, 39, 40, 44, 45, 46};
    QSet<QString> used;
    for (int kind : kinds) {
        const QString path = RCSceneItemViews::viewPathForControlType(kind);
        QVERIFY2(RCSceneItemViews::isKnownViewPath(path), qPrintable(QString::number(kind)));
        used.insert(path);
    }
    QCOMPARE(used.size(), 25);
    for (int none : {0, 20, 25, 41, 47, -1}) {
        QVERIFY(RCSceneItemViews::viewPathForControlType(none).isEmpty());
    }
    QCOMPARE(RCSceneItemViews::fileNameForControlType(38), QString("RCSceneItemActionButton.qml"));
    QCOMPARE(RCSceneItemViews::fileNameForControlType(18), QString("RCSceneItemSliderGlobalProperty.qml"));
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
    const QJsonObject json =
        description(QJsonArray{row("ControlType", controlType, 2), row("QmlPath", path, 0, false, false)});
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
}

void TestSceneItem::setPropertyValueRefusesUnknownView()
{
    RCSceneItem item(actionButtonTemplate(), nullptr);
    QSignalSpy spy(&item, &IRCObject::propertyValueChanged);
    item.setPropertyValue("QmlPath", "file:///tmp/evil.qml");
    item.setPropertyValue("QmlPath", "http://example.invalid/x.qml");
    QCOMPARE(spy.count(), 0);
    QCOMPARE(item.getPropertyValue("QmlPath").toString(),
             QString("qrc:/qml/scenePanel/RCSceneItemActionButton.qml"));
    item.setPropertyValue("QmlPath", "qrc:/qml/scenePanel/RCSceneItemLabel.qml");
    QCOMPARE(spy.count(), 1);

    // The same rules for a path that arrives from QML as a script value.
    QJSEngine engine;
    item.setPropertyValue("QmlPath",
                          QVariant::fromValue(engine.toScriptValue(QString("file:///tmp/evil.qml"))));
    QCOMPARE(spy.count(), 1);
    item.setPropertyValue("QmlPath", QVariant::fromValue(engine.toScriptValue(
                                         QString("qrc:/qml/scenePanel/RCSceneItemExit.qml"))));
    QCOMPARE(spy.count(), 2);
    QCOMPARE(item.getPropertyValue("QmlPath").userType(), int(QMetaType::QString));
}

QTEST_GUILESS_MAIN(TestSceneItem)
#include "tst_sceneitem.moc"
