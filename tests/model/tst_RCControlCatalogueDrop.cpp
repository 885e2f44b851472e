// Scene items made from catalogue templates, as a drop onto a scene makes them.
#include "model/IRCControlInstantiationParam.h"
#include "model/IRCProperty.h"
#include "model/RCControlCatalogue.h"
#include "model/RCControlManager.h"
#include "model/RCKeys.h"
#include "model/RCProperties.h"
#include "model/RCSceneItem.h"

#include <QJsonArray>
#include <QtTest>

class tst_RCControlCatalogueDrop : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void droppedItemRowCounts_data();
    void droppedItemRowCounts();
    void fastForwardItemSavesSecAndCommandKeys();
    void itemsOfOneControlDifferOnlyInId();

private:
    RCControlManager* m_manager = nullptr;
};

void tst_RCControlCatalogueDrop::initTestCase()
{
    m_manager = new RCControlManager();
    QCOMPARE(RCControlCatalogue::build(m_manager), 43);
}

void tst_RCControlCatalogueDrop::cleanupTestCase()
{
    delete m_manager;
}

void tst_RCControlCatalogueDrop::droppedItemRowCounts_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("rows");
    // Fifteen item defaults, plus the kind's rows but the Name row that the defaults already have.
    QTest::newRow("program manager") << 3 << 45;
    QTest::newRow("stage view") << 2 << 18;
    QTest::newRow("volume") << 17 << 28;
    QTest::newRow("program table") << 22 << 15;
    QTest::newRow("play state") << 4 << 41;
}

void tst_RCControlCatalogueDrop::droppedItemRowCounts()
{
    QFETCH(int, kind);
    QFETCH(int, rows);
    IRCControl* control = m_manager->getControlByType(IRCControl::EIRCControlType(kind));
    RCSceneItem item(control->getInstantiationParam()->toJson(), nullptr);
    QCOMPARE(item.getProperties()->count(), rows);
    QCOMPARE(item.getPropertyValue(RCKeys::ControlType()).toInt(), kind);
    QCOMPARE(item.getSize(), control->getInstantiationParam()->getSize());
    QCOMPARE(item.getName(), control->getName());
    // The item keeps an id of its own.
    QVERIFY(!item.getId().isEmpty());
}

void tst_RCControlCatalogueDrop::fastForwardItemSavesSecAndCommandKeys()
{
    IRCControl* control = m_manager->getControlByType(IRCControl::EIRCControlType_FastForward);
    RCSceneItem item(control->getInstantiationParam()->toJson(), nullptr);
    const QJsonArray saved = item.toJson().value("propertyArray").toArray();
    QJsonObject sec;
    QJsonObject keys;
    QJsonObject cmdType;
    for (const QJsonValue& row : saved) {
        const QString name = row.toObject().value("name").toString();
        if (name == "Sec")
            sec = row.toObject();
        else if (name == "CmdProNameList")
            keys = row.toObject();
        else if (name == "CmdType")
            cmdType = row.toObject();
    }
    QCOMPARE(sec.value("value"), QJsonValue(5));
    QCOMPARE(sec.value("display").toObject().value("type").toInt(), 3);
    QCOMPARE(keys.value("value"), QJsonValue("#StringList#$sl$Sec"));
    QCOMPARE(keys.value("readonly"), QJsonValue(true));
    QCOMPARE(keys.value("visible"), QJsonValue(false));
    QCOMPARE(cmdType.value("value"), QJsonValue("fastForwardCurrentProgram"));
}

void tst_RCControlCatalogueDrop::itemsOfOneControlDifferOnlyInId()
{
    const QJsonObject tmpl =
        m_manager->getControlByType(IRCControl::EIRCControlType_Label)->getInstantiationParam()->toJson();
    RCSceneItem a(tmpl, nullptr);
    RCSceneItem b(tmpl, nullptr);
    QVERIFY(a.getId() != b.getId());
    QJsonArray rowsA = a.toJson().value("propertyArray").toArray();
    QJsonArray rowsB = b.toJson().value("propertyArray").toArray();
    QCOMPARE(rowsA.size(), rowsB.size());
    rowsA.removeAt(0);
    rowsB.removeAt(0);
    QCOMPARE(rowsA, rowsB);
    // The kind row keeps the item default's place and takes the template's fields.
    QCOMPARE(a.getProperties()->getPropertyAt(1)->getName(), RCKeys::ControlType());
    QCOMPARE(a.getPropertyValue(RCKeys::QmlPath()), QVariant("qrc:/qml/scenePanel/RCSceneItemLabel.qml"));
}

QTEST_GUILESS_MAIN(tst_RCControlCatalogueDrop)
#include "tst_RCControlCatalogueDrop.moc"
