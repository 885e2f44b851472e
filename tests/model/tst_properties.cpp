// Property names, properties, display descriptors and property sets: field rules, JSON records,
// the merging read of a "propertyArray" and the relayed signals.
#include "ModelTestSupport.h"

#include "model/IRCPropertyDisplay.h"
#include "model/RCKeys.h"
#include "model/RCProperties.h"
#include "model/RCProperty.h"
#include "model/RCPropertyDisplay.h"
#include "support/SignalSpies.h"

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

using namespace Qt::StringLiterals;

using DT = IRCPropertyDisplay::EIRCPropertyDisplayType;
using model_test::record;
using test_support::SignalSpies;

// Read during static initialisation, before main() runs.
static const QStringList earlyKeys = {RCKeys::Focus(), RCKeys::allKeys().value(201)};

class TestProperties : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void keyTableIsCompleteAndOrdered();
    void keysAvailableBeforeMain();

    void displayRowFiles_data();
    void displayRowFiles();
    void displayRecord();

    void setValueRules();
    void recordRoundTrip();
    void scriptValuesAreUnwrapped();

    void addReplaceAndRemove();
    void addFromRecordNeedsSixKeys();
    void relaysEveryChangeOnce();
    void signalsReachConnectionsMadeAfterQuietChanges();
    void lookupFollowsAddsAndRemovals_data();
    void lookupFollowsAddsAndRemovals();
    void storeValueAndId();
    void mergeInPlaceAndAppend();
    void unreadableOrUnwritableValues();
    void textRowsKeepTextThatLooksTyped_data();
    void textRowsKeepTextThatLooksTyped();
    void descriptorMadeOnDemandChangesNothing();
    void recordText_data();
    void recordText();
    void keyNamesShareTheKeyText();
};

void TestProperties::keysAvailableBeforeMain()
{
    QCOMPARE(earlyKeys, QStringList({u"Focus"_s, u"Y"_s}));
}

void TestProperties::keyTableIsCompleteAndOrdered()
{
    const QStringList keys = RCKeys::allKeys();
    QCOMPARE(keys.size(), 202);
    QCOMPARE(QSet<QString>(keys.begin(), keys.end()).size(), 202);
    // Ascending by character code: capitals, then '_', then small letters.
    for (int i = 1; i < keys.size(); ++i)
        QVERIFY2(keys[i - 1].compare(keys[i], Qt::CaseSensitive) < 0, qPrintable(keys[i]));
    QCOMPARE(keys.first(), u"ActionType"_s);
    QCOMPARE(keys.last(), u"Y"_s);
    QVERIFY(keys.indexOf(u"SceneListVisible"_s) < keys.indexOf(u"SceneList_BackgroundColor"_s));
    QVERIFY(!keys.contains(u"focus"_s));
}

void TestProperties::displayRowFiles_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("file");
    // The row view of each display type; 7 and 10 have none.
    const QStringList kinds =
        QStringLiteral("String,Icon,Int,Double,ComboBox,Bool,RadioButtonGroup,,Ip,Trigger,,"
                       "StringList,Script,TrackList,Color,MacAddress")
            .split(u',');
    for (int t = 0; t < kinds.size(); ++t)
        QTest::addRow("type %d", t) << t
                                    << (kinds[t].isEmpty() ? QString() : "RCPropertyRow" + kinds[t] + ".qml");
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
    const QJsonObject rec = display.toJson();
    QCOMPARE(rec.value("type").toInt(), 4);
    // Reading adds or replaces entries; a record without "type" resets the type to 0.
    RCPropertyDisplay other;
    other.setData("Keep", 1);
    other.setData("ComboBoxItemNameList", 7);
    other.setType(IRCPropertyDisplay::EIRCPropertyDisplayType_Color);
    other.fromJson(QJsonObject{{"data", rec.value("data")}});
    QCOMPARE(int(other.getType()), 0);
    QCOMPARE(other.getData("Keep").toInt(), 1);
    QCOMPARE(other.getData("ComboBoxItemNameList").toList().value(1).toString(), QString("b"));
    QVERIFY(!other.getData("Absent").isValid());
}

void TestProperties::setValueRules()
{
    RCProperty p("Width", "w", false, true, "", 2, 0, nullptr);
    QSignalSpy spy(&p, &IRCProperty::valueChanged);
    QVERIFY(p.setValue(1) && p.setValue(2));
    QCOMPARE(p.getOldValue().toInt(), 1);
    // Equal value (a double equal to the int included): refused, old value kept, nothing emitted.
    QVERIFY(!p.setValue(2) && !p.setValue(2.0));
    QCOMPARE(p.getOldValue().toInt(), 1);
    // Read-only binds every caller; reading a record still changes the value.
    p.setReadOnly(true);
    QVERIFY(!p.setValue(3));
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
    RCProperty p("DefaultSize", "尺寸", false, true, "px", 4, QVariant(QSize(960, 540)), nullptr);
    p.getDisplay()->setData("ComboBoxItemNameList", QVariantList{"甲", "乙"});
    const QJsonObject rec = p.toJson();
    QCOMPARE(rec.keys(),
             QStringList({"description", "display", "name", "readonly", "unit", "value", "visible"}));
    QCOMPARE(rec.value("value").toString(), QString("#Size#960x540"));
    RCProperty q(rec, nullptr);
    QCOMPARE(q.getValue().toSize(), QSize(960, 540));
    QCOMPARE(q.getDisplay()->getData("ComboBoxItemNameList").toStringList(), QStringList({"甲", "乙"}));
    QCOMPARE(q.toJson(), rec);

    // A copy takes the fields and the display type, not the display data or the old value.
    RCProperties owner;
    q.setValue(QSize(1, 1));
    QScopedPointer<IRCProperty> c(q.copy(&owner));
    QCOMPARE(c->getOwner(), &owner);
    QCOMPARE(c->getValue(), QVariant(QSize(1, 1)));
    QCOMPARE(int(c->getDisplay()->getType()), 4);
    QVERIFY(!c->getDisplay()->getData("ComboBoxItemNameList").isValid() && !c->getOldValue().isValid());

    // Absent keys read as empty values.
    RCProperty bare(QJsonObject{{"name", "N"}}, nullptr);
    QVERIFY(bare.getDescription().isEmpty() && !bare.getReadOnly() && !bare.getVisible());
    QVERIFY(bare.getUnit().isEmpty() && !bare.getValue().isValid() && !bare.getOldValue().isValid());
    QCOMPARE(int(bare.getDisplay()->getType()), 0);
}

void TestProperties::scriptValuesAreUnwrapped()
{
    QJSEngine engine;
    RCProperty p("CmdProNameList", "", false, true, "", 11, QVariant(), nullptr);
    auto script = [&engine](const char* code) { return QVariant::fromValue(engine.evaluate(code)); };
    QVERIFY(p.setValue(script("['a', 2, {k: [true]}]")));
    QCOMPARE(p.getValue().userType(), int(QMetaType::QVariantList));
    QCOMPARE(p.toJson().value("value").toArray().at(2).toObject().value("k").toArray().at(0).toBool(), true);
    QVERIFY(p.setValue(script("({a: 'x', b: null})")));
    QCOMPARE(p.toJson().value("value").toObject().value("a").toString(), QString("x"));
    QVERIFY(p.setValue(script("'text'")));
    QCOMPARE(p.getValue(), QVariant(QString("text")));
    QVERIFY(!p.setValue(script("'text'"))); // equal once unwrapped: refused
    QVERIFY(p.setValue(script("null")));
    QVERIFY(p.toJson().value("value").isNull());
    // A map that QML hands over directly is stored as a JSON object.
    QVERIFY(p.setValue(QVariantMap{{"n", 1}}));
    QCOMPARE(p.getValue().userType(), int(QMetaType::QJsonObject));
    p.getDisplay()->setData("ComboBoxItemDataList", script("[0, 1]"));
    QCOMPARE(p.getDisplay()->toJson().value("data").toObject().value("ComboBoxItemDataList").toArray().size(),
             2);
}

void TestProperties::addReplaceAndRemove()
{
    RCProperties set;
    QPointer<IRCProperty> first = set.addProperty("A", "", false, true, "", 0, 1);
    set.addProperty("B", "", false, true, "", 0, 2);
    SignalSpies spies(&set);
    // The held property itself again: nothing changes.
    QCOMPARE(set.addProperty(first.data()), first.data());
    QCOMPARE(spies.total(), 0);
    // Another of the same name replaces it at the end.
    IRCProperty* second = set.addProperty("A", "", false, true, "", 0, 3);
    QCOMPARE(spies.count("propertyRemoved"), 1);
    QCOMPARE(spies.count("propretyAdded"), 1);
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
    QCOMPARE(spies.count("propertyRemoved"), 2);
    QCOMPARE(set.count(), 1);
}

void TestProperties::addFromRecordNeedsSixKeys()
{
    RCProperties set;
    SignalSpies spies(&set);
    for (const char* key : {"name", "description", "readonly", "visible", "unit", "value"}) {
        QJsonObject rec = record("W", 5);
        rec.remove(key);
        QVERIFY2(!set.addProperty(rec), key);
    }
    QCOMPARE(spies.total(), 0);
    QJsonObject rec = record("W", 5);
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
    SignalSpies spies(&set);
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
    QCOMPARE(spies.count("propertyValueChanged"), 1);
    QCOMPARE(spies.spy("propertyValueChanged").first().at(0).value<IRCProperty*>(), p);
    QCOMPARE(spies.spy("propertyValueChanged").first().at(1).toString(), QString("y"));
    QCOMPARE(spies.count("propertyReadOnlyChanged"), 1);
    QCOMPARE(spies.count("propertyVisibleChanged"), 1);
    QCOMPARE(spies.spy("propertyUnitChanged").first().at(1).toString(), QString("u"));
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

void TestProperties::signalsReachConnectionsMadeAfterQuietChanges()
{
    RCProperties set;
    IRCProperty* p = set.addProperty("Name", "", false, true, "", 0, "x");
    p->setValue("unheard");
    p->setReadOnly(true);
    p->setReadOnly(false);
    QSignalSpy own(p, &IRCProperty::valueChanged);
    QSignalSpy ownReadOnly(p, &IRCProperty::readOnlyChanged);
    SignalSpies spies(&set);
    p->setValue("heard");
    p->setReadOnly(true);
    QCOMPARE(own.count(), 1);
    QCOMPARE(ownReadOnly.count(), 1);
    QCOMPARE(spies.count("propertyValueChanged"), 1);
    QCOMPARE(spies.count("propertyReadOnlyChanged"), 1);
    // A blocked row still relays nothing.
    p->blockSignals(true);
    p->setValue("blocked");
    QCOMPARE(spies.count("propertyValueChanged"), 1);
}

void TestProperties::lookupFollowsAddsAndRemovals_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<QList<int>>("removed"); // positions, each in the set as it is then
    // Around the size from which a set also keeps a hash of its names.
    QTest::newRow("few") << 3 << QList<int>{1};
    QTest::newRow("at the scan limit") << 32 << QList<int>{0, 30, 15};
    QTest::newRow("one past the limit") << 33 << QList<int>{32, 0, 10};
    QTest::newRow("many, back below the limit") << 40 << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 20, 30};
}

void TestProperties::lookupFollowsAddsAndRemovals()
{
    QFETCH(int, rows);
    QFETCH(QList<int>, removed);
    RCProperties set;
    QStringList names;
    for (int i = 0; i < rows; ++i) {
        // Names of equal length, made at run time (not the shared key text), and one shared key.
        names << (i == 0 ? RCKeys::Select() : QString::number(1000 + i));
        set.addProperty(names.last(), "", false, true, "", 0, i);
    }
    const auto check = [&](const char* step) {
        QCOMPARE(model_test::propertyNames(&set), names);
        for (int i = 0; i < names.size(); ++i) {
            IRCProperty* row = set.getProperty(QString(names.at(i)).append(u'x').chopped(1));
            QVERIFY2(row, step);
            QCOMPARE(row, set.getPropertyAt(i));
            QCOMPARE(row->getName(), names.at(i));
        }
        QVERIFY(!set.getProperty("1999"));
        QVERIFY(!set.getProperty(QString()));
    };
    check("added");
    for (int position : removed) {
        const QString name = names.takeAt(position);
        set.removeProperty(name);
        QVERIFY(!set.getProperty(name));
        check("removed");
    }
    // Added again at the end; a new row of a held name replaces the held one.
    set.addProperty(RCKeys::Select(), "", false, true, "", 0, -1);
    names.removeOne(RCKeys::Select());
    names << RCKeys::Select();
    check("added again");
    QCOMPARE(set.getPropertyValue(RCKeys::Select()).toInt(), -1);
}

void TestProperties::storeValueAndId()
{
    RCProperties set;
    set.addProperty("Id", "id", false, false, "", 0, "");
    set.addProperty("Size", "size", false, true, "", 0, QSize(1, 2));
    SignalSpies spies(&set);
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
    SignalSpies spies(&set);
    // A held name reads the record in place (absent keys empty, display data merged), silently;
    // new names are appended in array order, and relay like any other.
    QJsonObject reduced{{"name", "Width"}, {"value", 50}};
    reduced["display"] = QJsonObject{{"data", QJsonObject{{"ComboBoxItemDataList", QJsonArray{0}}}}};
    QVERIFY(set.fromJson(QJsonArray{record("C", 3), reduced, record("B", 2), QJsonValue(7)}));
    QCOMPARE(model_test::propertyNames(&set), QStringList({"X", "Width", "C", "B", ""}));
    QCOMPARE(set.getProperty("Width"), width);
    QCOMPARE(width->getValue().toDouble(), 50.0);
    QVERIFY(width->getDescription().isEmpty() && !width->getReadOnly() && width->getUnit().isEmpty());
    QCOMPARE(width->getDisplay()->getData("ComboBoxItemNameList").toList().size(), 1);
    QCOMPARE(width->getDisplay()->getData("ComboBoxItemDataList").toList().size(), 1);
    QCOMPARE(spies.count("propretyAdded"), 3);
    QCOMPARE(spies.count("propertyValueChanged"), 0);
    set.getProperty("C")->setValue(4);
    QCOMPARE(spies.count("propertyValueChanged"), 1);

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
    set.fromJson(QJsonArray{record("DefaultSize", "#Size#10")});
    QCOMPARE(set.getPropertyValue("DefaultSize").toSize(), QSize(3, 4));
    QCOMPARE(set.getProperty("DefaultSize")->getUnit(), QString("px")); // the other fields are read
    QVERIFY(!RCProperty(record("Color", "#Color#1,2"), nullptr).getValue().isValid());

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
                            << u"#Size#1x2"_s << QVariant(u"#Size#1x2"_s);
    // Stored files read as before: other rows take typed text as their value.
    QTest::newRow("colour row") << int(DT::EIRCPropertyDisplayType_Color) << QVariant(u"white"_s)
                                << u"#Color#1,2,3"_s << QVariant(QColor(1, 2, 3));
    QTest::newRow("size row") << int(DT::EIRCPropertyDisplayType_String) << QVariant(QSize())
                              << u"#Size#1x2"_s << QVariant(QSize(1, 2));
    QTest::newRow("track list") << int(DT::EIRCPropertyDisplayType_TrackCheckList) << QVariant(QString())
                                << u"$sl$a$sl$b"_s << QVariant(QStringList{"a", "b"});
}

void TestProperties::textRowsKeepTextThatLooksTyped()
{
    QFETCH(int, display);
    QFETCH(QVariant, held);
    QFETCH(QString, stored);
    QFETCH(QVariant, read);
    RCProperties set;
    set.addProperty("P", "", false, true, "", display, held);
    set.fromJson(QJsonArray{record("P", stored)});
    QCOMPARE(set.getPropertyValue("P"), read);

    // A row declared with a number stays a typed row when a record of the same file left text in it.
    RCProperties numbers;
    numbers.addProperty("N", "", false, true, "", display, 0);
    numbers.fromJson(QJsonArray{record("N", "abc"), record("N", "#Size#1x2")});
    QCOMPARE(numbers.getPropertyValue("N"), QVariant(QSize(1, 2)));
}

void TestProperties::descriptorMadeOnDemandChangesNothing()
{
    // A row whose descriptor was never asked for writes and reads exactly like one whose
    // descriptor exists.
    RCProperty untouched("Icon", "i", false, true, "", 1, "qrc:/a.png", nullptr);
    RCProperty touched("Icon", "i", false, true, "", 1, "qrc:/a.png", nullptr);
    QCOMPARE(int(touched.getDisplay()->getType()), 1);
    QCOMPARE(untouched.toJson(), touched.toJson());
    QJsonObject rec = touched.toJson();
    rec["display"] = QJsonObject{{"type", 14}};
    untouched.fromJson(rec);
    touched.fromJson(rec);
    QCOMPARE(untouched.displayType(), 14);
    QCOMPARE(untouched.toJson(), touched.toJson());
    // Display data in a record brings the descriptor with it.
    RCProperty withData(
        QJsonObject{{"name", "C"}, {"display", QJsonObject{{"type", 4}, {"data", QJsonObject{{"k", "v"}}}}}},
        nullptr);
    QCOMPARE(withData.getDisplay()->getData("k").toString(), QString("v"));
    QCOMPARE(int(QScopedPointer<IRCProperty>(withData.copy(nullptr))->getDisplay()->getType()), 4);
}

void TestProperties::recordText_data()
{
    // A stored record and the text the row read from it writes back: the keys in their sorted
    // order, an absent or mistyped key read as its empty value, other keys dropped.
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QByteArray>("written");
    const QByteArray plain = R"({"description":"宽度","display":{"data":{},"type":2},"name":"Width",)"
                             R"("readonly":false,"unit":"","value":100,"visible":true})";
    QTest::newRow("plain row") << plain << plain;
    const QByteArray unit = R"({"description":"","display":{"data":{},"type":15},"name":"M",)"
                            R"("readonly":true,"unit":"px","value":"#Size#3x4","visible":false})";
    QTest::newRow("unit, flags, last shared type") << unit << unit;
    for (const char* type : {"16", "99", "-1"}) {
        const QByteArray odd = QByteArray(R"({"description":"d","display":{"data":{},"type":)") + type +
                               R"(},"name":"T","readonly":false,"unit":"","value":"文字","visible":true})";
        QTest::addRow("display type %s", type) << odd << odd;
    }
    const QByteArray data = R"({"description":"d","display":{"data":{"ComboBoxItemNameList":["a","b"]},)"
                            R"("type":4},"name":"C","readonly":false,"unit":"","value":1,"visible":true})";
    QTest::newRow("display data") << data << data;
    QTest::newRow("keys in another order, extra keys")
        << QByteArray(R"({"visible":true,"zz":1,"value":100,"unit":"","readonly":false,"name":"Width",)"
                      R"("display":{"type":2,"data":{}},"description":"宽度","aa":[1]})")
        << plain;
    QTest::newRow("mistyped and absent keys")
        << QByteArray(R"({"name":"N","description":7,"readonly":"yes","visible":1,"unit":null,"display":[]})")
        << QByteArray(R"({"description":"","display":{"data":{},"type":0},"name":"N","readonly":false,)"
                      R"("unit":"","value":null,"visible":false})");
}

void TestProperties::recordText()
{
    QFETCH(QByteArray, stored);
    QFETCH(QByteArray, written);
    const QJsonObject json = QJsonDocument::fromJson(stored).object();
    QVERIFY(!json.isEmpty());
    RCProperty row(json, nullptr);
    QCOMPARE(QJsonDocument(row.toJson()).toJson(QJsonDocument::Compact), written);
    RCProperties set;
    set.fromJson(QJsonArray{json});
    QCOMPARE(QJsonDocument(set.toJson()).toJson(QJsonDocument::Compact), '[' + written + ']');

    // Changing a written record, its display included, changes nothing the rows write later.
    QJsonObject changed = row.toJson();
    QJsonObject display = changed.value("display").toObject();
    display["type"] = 3;
    display["data"] = QJsonObject{{"k", 1}};
    changed["display"] = display;
    changed["name"] = "other";
    QCOMPARE(QJsonDocument(row.toJson()).toJson(QJsonDocument::Compact), written);
    QCOMPARE(QJsonDocument(set.getPropertyAt(0)->toJson()).toJson(QJsonDocument::Compact), written);
}

void TestProperties::keyNamesShareTheKeyText()
{
    // A loaded document holds no copy of a key name per row: a row named by a key shares the
    // key's text, whether it is new or held and merged; other names read as they stand.
    const QString stored = QJsonDocument::fromJson(R"({"name":"Width"})").object().value("name").toString();
    QVERIFY(stored.constData() != RCKeys::Width().constData());
    RCProperty fresh(QJsonObject{{"name", stored}}, nullptr);
    QCOMPARE(fresh.getName().constData(), RCKeys::Width().constData());

    RCProperties set;
    set.addProperty(RCKeys::Height(), "", false, true, "", 2, 0);
    const QString height = QString::fromUtf8("Height");
    set.fromJson(QJsonArray{QJsonObject{{"name", height}, {"value", 5}}, QJsonObject{{"name", "Mine"}}});
    QCOMPARE(set.getProperty(height)->getName().constData(), RCKeys::Height().constData());
    QCOMPARE(set.getPropertyValue(height).toDouble(), 5.0);
    QCOMPARE(set.getPropertyAt(1)->getName(), QString("Mine"));
}

QTEST_GUILESS_MAIN(TestProperties)
#include "tst_properties.moc"
