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
    void recordRoundTrip();
    void copyDropsDisplayData();
    void scriptValuesAreUnwrapped();

    void addReplaceAndRemove();
    void addFromRecordNeedsSixKeys();
    void relaysEveryChangeOnce();
    void storeValueAndId();
    void mergeInPlaceAndAppend();
    void unreadableOrUnwritableValues();
    void textRowsKeepTextThatLooksTyped_data();
    void textRowsKeepTextThatLooksTyped();
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

void TestProperties::recordRoundTrip()
{
    RCProperty p("DefaultSize", "尺寸", true, true, "px", 4, QVariant(QSize(960, 540)), nullptr);
    p.getDisplay()->setData("ComboBoxItemNameList", QVariantList{"甲", "乙"});
    const QJsonObject rec = p.toJson();
    QCOMPARE(rec.keys(),
             QStringList({"description", "display", "name", "readonly", "unit", "value", "visible"}));
    QCOMPARE(rec.value("value").toString(), QString("#Size#960x540"));
    RCProperty q(rec, nullptr);
    QCOMPARE(q.getValue().toSize(), QSize(960, 540));
    QCOMPARE(q.getDisplay()->getData("ComboBoxItemNameList").toStringList(), QStringList({"甲", "乙"}));
    QCOMPARE(q.toJson(), rec);

    // Absent keys read as empty values.
    RCProperty bare(QJsonObject{{"name", "N"}}, nullptr);
    QVERIFY(bare.getDescription().isEmpty() && !bare.getReadOnly() && !bare.getVisible());
    QVERIFY(bare.getUnit().isEmpty() && !bare.getValue().isValid() && !bare.getOldValue().isValid());
    QCOMPARE(int(bare.getDisplay()->getType()), 0);
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

void TestProperties::addReplaceAndRemove()
{
    RCProperties set;
    QPointer<IRCProperty> first = set.addProperty("A", "", false, true, "", 0, 1);
    set.addProperty("B", "", false, true, "", 0, 2);
    SetSpies spies(&set);
    // The held property itself again: nothing changes.
    QCOMPARE(set.addProperty(first.data()), first.data());
    QCOMPARE(spies.total(), 0);
    // Another of the same name replaces it at the end.
    IRCProperty* second = set.addProperty("A", "", false, true, "", 0, 3);
    QCOMPARE(spies.removed.count(), 1);
    QCOMPARE(spies.added.count(), 1);
    QVERIFY(first.isNull());
    QCOMPARE(model_test::propertyNames(&set), QStringList({"B", "A"}));
    QCOMPARE(set.getProperty("A"), second);
    QCOMPARE(set.getPropertyAt(1), second);
    QVERIFY(!set.getPropertyAt(-1) && !set.getPropertyAt(2));
    // Names are case-sensitive; unknown names change nothing.
    QVERIFY(!set.setPropertyValue("a", 1));
    QVERIFY(!set.getPropertyValue("Absent").isValid());
    set.removeProperty("a");
    QCOMPARE(set.count(), 2);
    set.removeProperty("A");
    QCOMPARE(spies.removed.count(), 2);
    QCOMPARE(set.count(), 1);
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

void TestProperties::relaysEveryChangeOnce()
{
    RCProperties set;
    IRCProperty* p = set.addProperty("Name", "名称", false, true, "", 0, "x");
    SetSpies spies(&set);
    QSignalSpy own(p, &IRCProperty::valueChanged);
    for (int i = 0; i < 2; ++i) { // the second round changes nothing
        p->setValue("y");
        p->setReadOnly(true);
        p->setVisible(false);
        p->setUnit("u");
    }
    QVERIFY(set.setPropertyValue("Name", "z")); // found, but read-only now: refused
    QCOMPARE(p->getValue().toString(), QString("y"));
    QCOMPARE(own.count(), 1);
    QCOMPARE(spies.value.count(), 1);
    QCOMPARE(spies.value.first().at(0).value<IRCProperty*>(), p);
    QCOMPARE(spies.value.first().at(1).toString(), QString("y"));
    QCOMPARE(spies.readOnly.count(), 1);
    QCOMPARE(spies.visible.count(), 1);
    QCOMPARE(spies.unit.first().at(1).toString(), QString("u"));
    QCOMPARE(spies.total(), 4);

    // A property of another type is relayed too.
    auto* other = new IRCProperty;
    set.addProperty(other);
    Q_EMIT other->valueChanged(1);
    Q_EMIT other->readOnlyChanged(true);
    Q_EMIT other->visibleChanged(true);
    Q_EMIT other->unitChanged("v");
    QCOMPARE(spies.total(), 9);
}

void TestProperties::storeValueAndId()
{
    RCProperties set;
    set.addProperty("Id", "id", false, false, "", 0, "");
    set.addProperty("Size", "size", false, true, "", 0, QSize(1, 2));
    SetSpies spies(&set);
    set.enforceId();
    const QString id = set.getPropertyValue("Id").toString();
    QVERIFY(!QUuid::fromString(id).isNull());
    QVERIFY(set.getProperty("Id")->getReadOnly());
    set.enforceId(); // a held id stays
    QCOMPARE(set.getPropertyValue("Id").toString(), id);
    QVERIFY(set.renewId() != id);
    // Past read-only, silently; a value that JSON holds only as typed text keeps its type.
    QVERIFY(set.storeValue("Id", "{y}"));
    QCOMPARE(set.getPropertyValue("Id").toString(), QString("{y}"));
    QCOMPARE(set.getProperty("Id")->getDescription(), QString("id"));
    QVERIFY(set.storeValue("Size", QSize(3, 4)));
    QCOMPARE(set.getPropertyValue("Size"), QVariant(QSize(3, 4)));
    QVERIFY(!set.storeValue("Absent", 1));
    QCOMPARE(spies.total(), 0);

    RCProperties noId;
    noId.enforceId();
    QCOMPARE(noId.count(), 0);
}

void TestProperties::mergeInPlaceAndAppend()
{
    RCProperties set;
    set.addProperty("X", "横向", false, true, "", 2, 0);
    IRCProperty* width = set.addProperty("Width", "宽度", true, true, "px", 2, 100);
    width->getDisplay()->setData("ComboBoxItemNameList", QVariantList{"a"});
    SetSpies spies(&set);
    // A held name reads the record in place (absent keys empty, display data merged), silently;
    // new names are appended in array order, and relay like any other.
    QJsonObject reduced{{"name", "Width"}, {"value", 50}};
    reduced["display"] = QJsonObject{{"data", QJsonObject{{"ComboBoxItemDataList", QJsonArray{0}}}}};
    QVERIFY(set.fromJson(QJsonArray{fullRecord("C", 3), reduced, fullRecord("B", 2), QJsonValue(7)}));
    QCOMPARE(model_test::propertyNames(&set), QStringList({"X", "Width", "C", "B", ""}));
    QCOMPARE(set.getProperty("Width"), width);
    QCOMPARE(width->getValue().toDouble(), 50.0);
    QVERIFY(width->getDescription().isEmpty() && !width->getReadOnly() && width->getUnit().isEmpty());
    QCOMPARE(width->getDisplay()->getData("ComboBoxItemNameList").toList().size(), 1);
    QCOMPARE(width->getDisplay()->getData("ComboBoxItemDataList").toList().size(), 1);
    QCOMPARE(spies.added.count(), 3);
    QCOMPARE(spies.value.count(), 0);
    set.getProperty("C")->setValue(4);
    QCOMPARE(spies.value.count(), 1);

    // Written and read into an empty set: same order, same records.
    const QJsonArray written = set.toJson();
    RCProperties rebuilt;
    rebuilt.fromJson(written);
    QCOMPARE(rebuilt.toJson(), written);
}

void TestProperties::unreadableOrUnwritableValues()
{
    RCProperties set;
    set.addProperty("DefaultSize", "", false, true, "", 0, QVariant(QSize(3, 4)));
    set.fromJson(QJsonArray{fullRecord("DefaultSize", "#Size#10")});
    QCOMPARE(set.getPropertyValue("DefaultSize").toSize(), QSize(3, 4));
    QCOMPARE(set.getProperty("DefaultSize")->getUnit(), QString("px")); // the other fields are read
    QVERIFY(!RCProperty(fullRecord("Color", "#Color#1,2"), nullptr).getValue().isValid());

    RCProperty odd("Odd", "", false, true, "", 0, QVariant::fromValue(QChar('x')), nullptr);
    QVERIFY(odd.toJson().value("value").isNull());
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
