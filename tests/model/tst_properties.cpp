// Properties, display descriptors and property sets: field rules, JSON records,
// the merging read of a "propertyArray" and the relayed signals.
#include "ModelTestSupport.h"

#include "model/IRCPropertyDisplay.h"
#include "model/RCProperties.h"
#include "model/RCProperty.h"
#include "model/RCPropertyDisplay.h"

#include <QColor>
#include <QJSEngine>
#include <QJSValue>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>
#include <QSignalSpy>
#include <QSize>
#include <QUuid>
#include <QtTest>

using DT = IRCPropertyDisplay::EIRCPropertyDisplayType;

namespace {

QJsonObject fullRecord(const QString& name, const QJsonValue& value)
{
    return QJsonObject{{"name", name},
                       {"description", "d"},
                       {"readonly", false},
                       {"visible", true},
                       {"unit", "px"},
                       {"value", value},
                       {"display", QJsonObject{{"type", 2}, {"data", QJsonObject()}}}};
}

// Counts every signal a set can emit.
struct SetSpies
{
    explicit SetSpies(RCProperties* set)
        : value(set, &RCProperties::propertyValueChanged),
          readOnly(set, &RCProperties::propertyReadOnlyChanged),
          visible(set, &RCProperties::propertyVisibleChanged), unit(set, &RCProperties::propertyUnitChanged),
          added(set, &RCProperties::propretyAdded), removed(set, &RCProperties::propertyRemoved)
    {
    }
    int total() const
    {
        return int(value.count() + readOnly.count() + visible.count() + unit.count() + added.count() +
                   removed.count());
    }
    QSignalSpy value, readOnly, visible, unit, added, removed;
};

} // namespace

class TestProperties : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void displayRowFiles_data();
    void displayRowFiles();
    void displayRecord();

    void setValueRules();
    void flagSettersEmitOnlyOnChange();
    void recordDefaultsForAbsentKeys();
    void recordRoundTrip();
    void copyDropsDisplayData();
    void scriptValuesAreUnwrapped();

    void addSamePropertyTwice();
    void replacingMovesToEnd();
    void addFromRecordNeedsSixKeys();
    void addFromFieldsAndRelays();
    void setAndGetByName();
    void storeValueBypassesReadOnlySilently();
    void idIsKeptReadOnlyAndFilled();
    void positionLookup();
    void removeAbsentNameIsSilent();
    void mergeReducedRecordInPlace();
    void mergeAppendsNewNamesInArrayOrder();
    void mergeKeepsUnnamedDisplayData();
    void writeThenMergeIntoEmptyKeepsOrder();
    void unreadableValueKeepsCurrent();
    void textRowsKeepTextThatLooksTyped_data();
    void textRowsKeepTextThatLooksTyped();
    void unwritableValueIsWrittenAsNull();
    void descriptorMadeOnDemandChangesNothing();
};

void TestProperties::displayRowFiles_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("file");
    const char* files[] = {"RCPropertyRowString.qml",
                           "RCPropertyRowIcon.qml",
                           "RCPropertyRowInt.qml",
                           "RCPropertyRowDouble.qml",
                           "RCPropertyRowComboBox.qml",
                           "RCPropertyRowBool.qml",
                           "RCPropertyRowRadioButtonGroup.qml",
                           "",
                           "RCPropertyRowIp.qml",
                           "RCPropertyRowTrigger.qml",
                           "",
                           "RCPropertyRowStringList.qml",
                           "RCPropertyRowScript.qml",
                           "RCPropertyRowTrackList.qml",
                           "RCPropertyRowColor.qml",
                           "RCPropertyRowMacAddress.qml"};
    for (int t = 0; t < 16; ++t) {
        QTest::addRow("type %d", t) << t << QString::fromLatin1(files[t]);
    }
    QTest::addRow("type 16") << 16 << QString();
    QTest::addRow("type -1") << -1 << QString();
    QTest::addRow("type 1000") << 1000 << QString();
}

void TestProperties::displayRowFiles()
{
    QFETCH(int, type);
    QFETCH(QString, file);
    RCPropertyDisplay display;
    display.setType(DT(type));
    QCOMPARE(int(display.getType()), type);
    QCOMPARE(display.getQmlPath(), file.isEmpty() ? QString() : "qrc:/qml/propertyPanel/" + file);
}

void TestProperties::displayRecord()
{
    RCPropertyDisplay display;
    display.setType(IRCPropertyDisplay::EIRCPropertyDisplayType_ComboBox);
    display.setData("ComboBoxItemNameList", QVariantList{"a", "b"});
    display.setData("ComboBoxItemDataList", QVariantList{0, 1});
    const QJsonObject rec = display.toJson();
    QCOMPARE(rec.value("type").toInt(), 4);
    QCOMPARE(rec.value("data").toObject().keys(),
             QStringList({"ComboBoxItemDataList", "ComboBoxItemNameList"}));

    // Reading adds or replaces entries; a record without "type" resets the type to 0.
    RCPropertyDisplay other;
    other.setData("Keep", 1);
    other.setData("ComboBoxItemDataList", 7);
    other.setType(IRCPropertyDisplay::EIRCPropertyDisplayType_Color);
    other.fromJson(QJsonObject{{"data", rec.value("data")}});
    QCOMPARE(int(other.getType()), 0);
    QCOMPARE(other.getData("Keep").toInt(), 1);
    QCOMPARE(other.getData("ComboBoxItemDataList").toList().size(), 2);
    QCOMPARE(other.getData("ComboBoxItemNameList").toList().value(1).toString(), QString("b"));
    QVERIFY(!other.getData("Absent").isValid());
}

void TestProperties::setValueRules()
{
    RCProperty p("Width", "w", false, true, "", 2, 0, nullptr);
    QSignalSpy spy(&p, &IRCProperty::valueChanged);
    QVERIFY(!p.getOldValue().isValid());

    QVERIFY(p.setValue(1));
    QVERIFY(p.setValue(2));
    QCOMPARE(p.getOldValue().toInt(), 1);
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.last().at(0).toInt(), 2);

    // Equal value: refused, old value kept, nothing emitted; a double equal to the int counts as equal.
    QVERIFY(!p.setValue(2));
    QVERIFY(!p.setValue(2.0));
    QCOMPARE(p.getOldValue().toInt(), 1);
    QCOMPARE(spy.count(), 2);

    // Read-only binds every caller; reading a record still changes the value.
    p.setReadOnly(true);
    QVERIFY(!p.setValue(3));
    QCOMPARE(p.getValue().toInt(), 2);
    QCOMPARE(spy.count(), 2);
    QJsonObject rec = p.toJson();
    rec["value"] = 9;
    p.fromJson(rec);
    QCOMPARE(p.getValue().toDouble(), 9.0);
    QVERIFY(p.getReadOnly());
    QCOMPARE(spy.count(), 2);
}

void TestProperties::flagSettersEmitOnlyOnChange()
{
    RCProperty p("X", "x", false, false, "", 0, 0, nullptr);
    QSignalSpy ro(&p, &IRCProperty::readOnlyChanged);
    QSignalSpy vis(&p, &IRCProperty::visibleChanged);
    QSignalSpy unit(&p, &IRCProperty::unitChanged);
    p.setReadOnly(true);
    p.setReadOnly(true);
    p.setVisible(false);
    p.setVisible(true);
    p.setVisible(true);
    p.setUnit("");
    p.setUnit("ms");
    p.setUnit("ms");
    QCOMPARE(ro.count(), 1);
    QCOMPARE(vis.count(), 1);
    QCOMPARE(unit.count(), 1);
    QCOMPARE(unit.first().at(0).toString(), QString("ms"));
}

void TestProperties::recordDefaultsForAbsentKeys()
{
    RCProperty p(QJsonObject{{"name", "N"}, {"value", "v"}}, nullptr);
    QCOMPARE(p.getName(), QString("N"));
    QVERIFY(p.getDescription().isEmpty());
    QVERIFY(!p.getReadOnly());
    QVERIFY(!p.getVisible());
    QVERIFY(p.getUnit().isEmpty());
    QCOMPARE(int(p.getDisplay()->getType()), 0);
    QVERIFY(!p.getOldValue().isValid());

    RCProperty q(QJsonObject{{"name", "N"}, {"display", QJsonObject{{"data", QJsonObject{{"k", 1}}}}}},
                 nullptr);
    QCOMPARE(int(q.getDisplay()->getType()), 0);
    QCOMPARE(q.getDisplay()->getData("k").toDouble(), 1.0);
    QVERIFY(!q.getValue().isValid());
}

void TestProperties::recordRoundTrip()
{
    RCProperty p("DefaultSize", "尺寸", true, true, "px", 4, QVariant(QSize(960, 540)), nullptr);
    p.getDisplay()->setData("ComboBoxItemNameList", QVariantList{"甲", "乙"});
    const QJsonObject rec = p.toJson();
    QCOMPARE(rec.keys(),
             QStringList({"description", "display", "name", "readonly", "unit", "value", "visible"}));
    QCOMPARE(rec.value("value").toString(), QString("#Size#960x540"));

    RCProperty q(rec, nullptr);
    QCOMPARE(q.getName(), p.getName());
    QCOMPARE(q.getDescription(), p.getDescription());
    QCOMPARE(q.getReadOnly(), true);
    QCOMPARE(q.getVisible(), true);
    QCOMPARE(q.getUnit(), QString("px"));
    QCOMPARE(int(q.getDisplay()->getType()), 4);
    QCOMPARE(q.getValue().toSize(), QSize(960, 540));
    QCOMPARE(q.getDisplay()->getData("ComboBoxItemNameList").toStringList(), QStringList({"甲", "乙"}));
    QCOMPARE(q.toJson(), rec);
}

void TestProperties::copyDropsDisplayData()
{
    RCProperties owner;
    RCProperty p("TextHAlignment", "横向对齐", false, true, "", 4, 1, nullptr);
    p.getDisplay()->setData("ComboBoxItemNameList", QVariantList{"靠左"});
    p.setValue(2);
    IRCProperty* c = p.copy(&owner);
    QCOMPARE(c->getOwner(), &owner);
    QCOMPARE(c->getName(), QString("TextHAlignment"));
    QCOMPARE(c->getValue().toInt(), 2);
    QCOMPARE(int(c->getDisplay()->getType()), 4);
    QVERIFY(!c->getDisplay()->getData("ComboBoxItemNameList").isValid());
    QVERIFY(!c->getOldValue().isValid());
    delete c;
}

void TestProperties::scriptValuesAreUnwrapped()
{
    QJSEngine engine;
    RCProperty p("CmdProNameList", "", false, true, "", 11, QVariant(), nullptr);

    QVERIFY(p.setValue(QVariant::fromValue(engine.evaluate("['a', 2, {k: [true]}]"))));
    QCOMPARE(p.getValue().userType(), int(QMetaType::QVariantList));
    const QJsonValue written = p.toJson().value("value");
    QCOMPARE(written.toArray().size(), 3);
    QCOMPARE(written.toArray().at(2).toObject().value("k").toArray().at(0).toBool(), true);

    QVERIFY(p.setValue(QVariant::fromValue(engine.evaluate("({a: 'x', b: null})"))));
    QCOMPARE(p.getValue().userType(), int(QMetaType::QJsonObject));
    QCOMPARE(p.toJson().value("value").toObject().value("a").toString(), QString("x"));

    QVERIFY(p.setValue(QVariant::fromValue(engine.evaluate("'text'"))));
    QCOMPARE(p.getValue(), QVariant(QString("text")));
    // The same text wrapped again is equal after unwrapping: refused.
    QVERIFY(!p.setValue(QVariant::fromValue(engine.evaluate("'text'"))));

    QVERIFY(p.setValue(QVariant::fromValue(engine.evaluate("null"))));
    QVERIFY(!p.getValue().isValid());
    QVERIFY(p.toJson().value("value").isNull());

    // A map that QML hands over directly is stored as a JSON object.
    QVERIFY(p.setValue(QVariantMap{{"n", 1}}));
    QCOMPARE(p.getValue().userType(), int(QMetaType::QJsonObject));

    p.getDisplay()->setData("ComboBoxItemDataList", QVariant::fromValue(engine.evaluate("[0, 1]")));
    QCOMPARE(p.getDisplay()->getData("ComboBoxItemDataList").toList().size(), 2);
    QCOMPARE(p.getDisplay()->toJson().value("data").toObject().value("ComboBoxItemDataList").toArray().size(),
             2);
}

void TestProperties::addSamePropertyTwice()
{
    RCProperties set;
    SetSpies spies(&set);
    IRCProperty* p = set.addProperty("A", "", false, true, "", 0, 1);
    QCOMPARE(set.addProperty(p), p);
    QCOMPARE(set.count(), 1);
    QCOMPARE(spies.added.count(), 1);
    QCOMPARE(spies.removed.count(), 0);
    QCOMPARE(p->getOwner(), &set);
}

void TestProperties::replacingMovesToEnd()
{
    RCProperties set;
    QPointer<IRCProperty> first = set.addProperty("A", "", false, true, "", 0, 1);
    set.addProperty("B", "", false, true, "", 0, 2);
    SetSpies spies(&set);
    IRCProperty* second = set.addProperty("A", "", false, true, "", 0, 3);
    QCOMPARE(spies.removed.count(), 1);
    QCOMPARE(spies.added.count(), 1);
    QVERIFY(first.isNull());
    QCOMPARE(model_test::propertyNames(&set), QStringList({"B", "A"}));
    QCOMPARE(set.getProperty("A"), second);
    QCOMPARE(set.getPropertyValue("A").toInt(), 3);
}

void TestProperties::addFromRecordNeedsSixKeys()
{
    const QStringList required = {"name", "description", "readonly", "visible", "unit", "value"};
    for (const QString& key : required) {
        RCProperties set;
        SetSpies spies(&set);
        QJsonObject rec = fullRecord("W", 5);
        rec.remove(key);
        QVERIFY2(!set.addProperty(rec), qPrintable(key));
        QCOMPARE(set.count(), 0);
        QCOMPARE(spies.total(), 0);
    }
    RCProperties set;
    QJsonObject rec = fullRecord("W", 5);
    rec.remove("display");
    IRCProperty* p = set.addProperty(rec);
    QVERIFY(p);
    QCOMPARE(int(p->getDisplay()->getType()), 0);
    QCOMPARE(p->getOwner(), &set);
}

void TestProperties::addFromFieldsAndRelays()
{
    RCProperties set;
    IRCProperty* p = set.addProperty("Name", "名称", false, true, "", 0, "x");
    SetSpies spies(&set);
    p->setValue("y");
    p->setReadOnly(true);
    p->setVisible(false);
    p->setUnit("u");
    QCOMPARE(spies.value.count(), 1);
    QCOMPARE(spies.value.first().at(0).value<IRCProperty*>(), p);
    QCOMPARE(spies.value.first().at(1).toString(), QString("y"));
    QCOMPARE(spies.readOnly.count(), 1);
    QCOMPARE(spies.visible.count(), 1);
    QCOMPARE(spies.unit.count(), 1);
    QCOMPARE(spies.unit.first().at(1).toString(), QString("u"));
}

void TestProperties::setAndGetByName()
{
    RCProperties set;
    set.addProperty("Id", "", true, false, "", 0, "{x}");
    set.addProperty("X", "", false, true, "", 2, 0);
    SetSpies spies(&set);
    QVERIFY(set.setPropertyValue("Id", "{y}"));
    QCOMPARE(set.getPropertyValue("Id").toString(), QString("{x}"));
    QVERIFY(set.setPropertyValue("X", 0)); // equal: accepted call, nothing changes
    QVERIFY(!set.setPropertyValue("Absent", 1));
    QVERIFY(!set.setPropertyValue("x", 1)); // keys are case-sensitive
    QCOMPARE(spies.total(), 0);
    QVERIFY(!set.getPropertyValue("Absent").isValid());
    QVERIFY(!set.getProperty("id"));
}

void TestProperties::storeValueBypassesReadOnlySilently()
{
    RCProperties set;
    set.addProperty("Id", "id", true, false, "", 0, "{x}");
    set.addProperty("Size", "size", false, true, "", 0, QSize(1, 2));
    SetSpies spies(&set);
    QVERIFY(set.storeValue("Id", "{y}"));
    QCOMPARE(set.getPropertyValue("Id").toString(), QString("{y}"));
    QVERIFY(set.getProperty("Id")->getReadOnly());
    QCOMPARE(set.getProperty("Id")->getDescription(), QString("id"));
    // A value that JSON holds only as a typed text comes back with its type.
    QVERIFY(set.storeValue("Size", QSize(3, 4)));
    QCOMPARE(set.getPropertyValue("Size"), QVariant(QSize(3, 4)));
    QVERIFY(!set.storeValue("Absent", 1));
    QCOMPARE(spies.total(), 0);
}

void TestProperties::idIsKeptReadOnlyAndFilled()
{
    RCProperties set;
    set.addProperty("Id", "", false, false, "", 0, "");
    SetSpies spies(&set);
    set.enforceId();
    const QString id = set.getPropertyValue("Id").toString();
    QVERIFY(id.startsWith('{'));
    QVERIFY(!QUuid::fromString(id).isNull());
    QVERIFY(set.getProperty("Id")->getReadOnly());
    set.enforceId(); // a held id stays
    QCOMPARE(set.getPropertyValue("Id").toString(), id);
    const QString fresh = set.renewId();
    QVERIFY(fresh != id);
    QCOMPARE(set.getPropertyValue("Id").toString(), fresh);
    QCOMPARE(spies.total(), 0);

    RCProperties noId;
    noId.enforceId();
    QCOMPARE(noId.count(), 0);
}

void TestProperties::positionLookup()
{
    RCProperties set;
    set.addProperty("A", "", false, true, "", 0, 1);
    set.addProperty("B", "", false, true, "", 0, 2);
    QCOMPARE(set.getPropertyAt(1)->getName(), QString("B"));
    QVERIFY(!set.getPropertyAt(-1));
    QVERIFY(!set.getPropertyAt(set.count()));
}

void TestProperties::removeAbsentNameIsSilent()
{
    RCProperties set;
    set.addProperty("A", "", false, true, "", 0, 1);
    SetSpies spies(&set);
    set.removeProperty("B");
    set.removeProperty("a");
    QCOMPARE(spies.total(), 0);
    QCOMPARE(set.count(), 1);
    set.removeProperty("A");
    QCOMPARE(spies.removed.count(), 1);
    QCOMPARE(set.count(), 0);
}

void TestProperties::mergeReducedRecordInPlace()
{
    RCProperties set;
    set.addProperty("X", "横向", false, true, "", 2, 0);
    IRCProperty* width = set.addProperty("Width", "宽度", true, true, "px", 2, 100);
    set.addProperty("Height", "高度", false, true, "", 2, 100);
    SetSpies spies(&set);

    QVERIFY(set.fromJson(QJsonArray{QJsonObject{{"name", "Width"}, {"value", 50}}}));
    QCOMPARE(set.getProperty("Width"), width);
    QCOMPARE(model_test::propertyNames(&set), QStringList({"X", "Width", "Height"}));
    QCOMPARE(width->getValue().toDouble(), 50.0);
    QVERIFY(width->getDescription().isEmpty());
    QVERIFY(width->getUnit().isEmpty());
    QVERIFY(!width->getVisible());
    QVERIFY(!width->getReadOnly());
    QCOMPARE(int(width->getDisplay()->getType()), 0);
    QCOMPARE(spies.total(), 0);
}

void TestProperties::mergeAppendsNewNamesInArrayOrder()
{
    RCProperties set;
    set.addProperty("A", "", false, true, "", 0, 1);
    SetSpies spies(&set);
    set.fromJson(QJsonArray{fullRecord("C", 3), fullRecord("A", 9), fullRecord("B", 2), QJsonValue(7)});
    QCOMPARE(model_test::propertyNames(&set), QStringList({"A", "C", "B", ""}));
    QCOMPARE(spies.added.count(), 3);
    QCOMPARE(spies.value.count(), 0);
    QCOMPARE(set.getPropertyValue("A").toDouble(), 9.0);
    QCOMPARE(set.getProperty("C")->getOwner(), &set);

    // Members added by a merge relay their later changes like any other.
    set.getProperty("C")->setValue(4);
    QCOMPARE(spies.value.count(), 1);
}

void TestProperties::mergeKeepsUnnamedDisplayData()
{
    RCProperties set;
    IRCProperty* p = set.addProperty("ProgramListType", "节目类型", false, true, "", 4, 0);
    p->getDisplay()->setData("ComboBoxItemNameList", QVariantList{"视频列表", "音频列表"});
    QJsonObject rec = fullRecord("ProgramListType", 1);
    rec["display"] =
        QJsonObject{{"type", 4}, {"data", QJsonObject{{"ComboBoxItemDataList", QJsonArray{0, 1}}}}};
    set.fromJson(QJsonArray{rec});
    QCOMPARE(p->getDisplay()->getData("ComboBoxItemNameList").toList().size(), 2);
    QCOMPARE(p->getDisplay()->getData("ComboBoxItemDataList").toList().size(), 2);
    QCOMPARE(p->getValue().toInt(), 1);
}

void TestProperties::writeThenMergeIntoEmptyKeepsOrder()
{
    RCProperties set;
    const QStringList order = {"Zeta", "Alpha", "Mid", "Beta"};
    for (const QString& name : order) {
        set.addProperty(name, name.toLower(), false, true, "", 0, name);
    }
    const QJsonArray written = set.toJson();
    RCProperties rebuilt;
    rebuilt.fromJson(written);
    QCOMPARE(model_test::propertyNames(&rebuilt), order);
    QCOMPARE(rebuilt.toJson(), written);
}

void TestProperties::unreadableValueKeepsCurrent()
{
    RCProperties set;
    set.addProperty("DefaultSize", "", false, true, "", 0, QVariant(QSize(3, 4)));
    QJsonObject rec = fullRecord("DefaultSize", "#Size#10");
    set.fromJson(QJsonArray{rec});
    QCOMPARE(set.getPropertyValue("DefaultSize").toSize(), QSize(3, 4));
    QCOMPARE(set.getProperty("DefaultSize")->getUnit(), QString("px")); // the other fields are read

    RCProperty fresh(fullRecord("Color", "#Color#1,2"), nullptr);
    QVERIFY(!fresh.getValue().isValid());
}

void TestProperties::textRowsKeepTextThatLooksTyped_data()
{
    QTest::addColumn<int>("display");
    QTest::addColumn<QVariant>("held");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QVariant>("read");
    for (const char* typed : {"#Size#10", "#Color#1,2,3", "$sl$x", "#UInt#abc"})
        QTest::addRow("text %s", typed) << int(DT::EIRCPropertyDisplayType_String) << QVariant(QString())
                                        << QString::fromLatin1(typed) << QVariant(QString::fromLatin1(typed));
    QTest::newRow("script") << int(DT::EIRCPropertyDisplayType_Script) << QVariant(QString())
                            << QStringLiteral("#Size#1x2") << QVariant(QStringLiteral("#Size#1x2"));
    // Stored files read as before: other rows take typed text as their value.
    QTest::newRow("colour row") << int(DT::EIRCPropertyDisplayType_Color) << QVariant(QStringLiteral("white"))
                                << QStringLiteral("#Color#1,2,3") << QVariant(QColor(1, 2, 3));
    QTest::newRow("size row") << int(DT::EIRCPropertyDisplayType_String) << QVariant(QSize())
                              << QStringLiteral("#Size#1x2") << QVariant(QSize(1, 2));
    QTest::newRow("track list") << int(DT::EIRCPropertyDisplayType_TrackCheckList) << QVariant(QString())
                                << QStringLiteral("$sl$a$sl$b") << QVariant(QStringList{"a", "b"});
}

void TestProperties::textRowsKeepTextThatLooksTyped()
{
    QFETCH(int, display);
    QFETCH(QVariant, held);
    QFETCH(QString, stored);
    QFETCH(QVariant, read);
    RCProperties set;
    set.addProperty("P", "", false, true, "", display, held);
    set.fromJson(QJsonArray{fullRecord("P", stored)});
    QCOMPARE(set.getPropertyValue("P"), read);
}

void TestProperties::unwritableValueIsWrittenAsNull()
{
    RCProperty p("Odd", "", false, true, "", 0, QVariant::fromValue(QChar('x')), nullptr);
    const QJsonObject rec = p.toJson();
    QVERIFY(rec.value("value").isNull());
    QCOMPARE(rec.value("name").toString(), QString("Odd"));
}

void TestProperties::descriptorMadeOnDemandChangesNothing()
{
    // A row whose descriptor was never asked for writes and reads exactly like one whose
    // descriptor exists.
    RCProperty untouched("Icon", "i", false, true, "", 1, "qrc:/a.png", nullptr);
    RCProperty touched("Icon", "i", false, true, "", 1, "qrc:/a.png", nullptr);
    QCOMPARE(int(touched.getDisplay()->getType()), 1);
    QCOMPARE(untouched.toJson(), touched.toJson());
    QCOMPARE(untouched.displayType(), 1);

    QJsonObject rec = touched.toJson();
    rec["display"] = QJsonObject{{"type", 14}};
    untouched.fromJson(rec);
    touched.fromJson(rec);
    QCOMPARE(untouched.displayType(), 14);
    QCOMPARE(untouched.toJson(), touched.toJson());
    QCOMPARE(untouched.getDisplay(), untouched.getDisplay());
    QCOMPARE(int(untouched.getDisplay()->getType()), 14);

    // Display data in a record brings the descriptor with it.
    RCProperty withData(
        QJsonObject{{"name", "C"}, {"display", QJsonObject{{"type", 4}, {"data", QJsonObject{{"k", "v"}}}}}},
        nullptr);
    QCOMPARE(withData.displayType(), 4);
    QCOMPARE(withData.getDisplay()->getData("k").toString(), QString("v"));
    QScopedPointer<IRCProperty> copy(withData.copy(nullptr));
    QCOMPARE(int(copy->getDisplay()->getType()), 4);
}

QTEST_GUILESS_MAIN(TestProperties)
#include "tst_properties.moc"
