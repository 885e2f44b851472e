#include "model/RCTypedValue.h"

#include <QColor>
#include <QJsonArray>
#include <QJsonObject>
#include <QPolygon>
#include <QPolygonF>
#include <QRect>
#include <QRectF>
#include <QSize>
#include <QSizeF>
#include <QTest>
#include <QUrl>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(QJsonValue)

namespace {

// Compares type and value: a QVariant holding 7 and one holding 7.0 differ here.
void compareVariant(const QVariant& actual, const QVariant& expected)
{
    QCOMPARE(actual.typeId(), expected.typeId());
    if (actual.typeId() == QMetaType::QVariantList) {
        const QVariantList a = actual.toList();
        const QVariantList e = expected.toList();
        QCOMPARE(a.size(), e.size());
        for (int i = 0; i < a.size(); ++i) {
            compareVariant(a[i], e[i]);
            if (QTest::currentTestFailed())
                return;
        }
        return;
    }
    QCOMPARE(actual, expected);
}

} // namespace

class TestTypedValue : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void roundTrip_data();
    void roundTrip();
    void read_data();
    void read();
    void unsupportedWriteFails_data();
    void unsupportedWriteFails();
    void failuresAreLogged();
};

// Every row: the value, its JSON form, and what reading that JSON gives back.
void TestTypedValue::roundTrip_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QJsonValue>("json");
    QTest::addColumn<QVariant>("back");

    // Rows whose value reads back unchanged.
    const auto same = [](const char* name, const QVariant& value, const QJsonValue& json) {
        QTest::newRow(name) << value << json << value;
    };
    const auto typed = [&same](const char* name, const QVariant& value, const char* json) {
        same(name, value, QJsonValue(QString::fromUtf8(json)));
    };
    QTest::newRow("int reads back as double") << QVariant(7) << QJsonValue(7) << QVariant(7.0);
    same("double", 2.5, 2.5);
    QTest::newRow("float") << QVariant(1.5f) << QJsonValue(1.5) << QVariant(1.5);
    same("bool", true, true);
    same("string", u"abc"_s, u"abc"_s);
    QTest::newRow("url") << QVariant(QUrl(u"qrc:/control/play.png"_s))
                         << QJsonValue(u"qrc:/control/play.png"_s) << QVariant(u"qrc:/control/play.png"_s);
    same("invalid", QVariant(), QJsonValue::Null);
    typed("size", QSize(960, 540), "#Size#960x540");
    typed("sizeF", QSizeF(1.5, 2.25), "#SizeF#1.5x2.25");
    QTest::newRow("real numbers keep six significant digits")
        << QVariant(QSizeF(0.1234567, 1234567.0)) << QJsonValue(u"#SizeF#0.123457x1.23457e+06"_s)
        << QVariant(QSizeF(0.123457, 1234570.0));
    typed("rect negative", QRect(-5, -3, 10, 10), "#Rect#-5x-3x10x10");
    typed("rectF", QRectF(0.5, -1, 2, 3), "#RectF#0.5x-1x2x3");
    typed("point", QPoint(-1, 2), "#Point#-1x2");
    typed("pointF", QPointF(0.25, 4), "#PointF#0.25x4");
    typed("string list", QStringList{"a", "b"}, "#StringList#$sl$a$sl$b");
    QTest::newRow("string list drops empty item")
        << QVariant(QStringList{"a", "", "b"}) << QJsonValue(u"#StringList#$sl$a$sl$$sl$b"_s)
        << QVariant(QStringList{"a", "b"});
    typed("empty string list", QStringList(), "#StringList#$sl$");
    typed("colour", QColor(255, 0, 0), "#Color#255,0,0,255");
    typed("colour alpha", QColor(1, 2, 3, 4), "#Color#1,2,3,4");
    typed("polygon", QPolygon({QPoint(1, 2), QPoint(-3, 4)}), "#Polygon#1x2,-3x4");
    typed("polygonF", QPolygonF({QPointF(0.5, 1), QPointF(2, 3.5)}), "#PolygonF#0.5x1,2x3.5");
    typed("byte array utf8", QByteArray("h\xc3\xa9"), "#ByteArray#h\xc3\xa9");
    typed("uint", 7u, "#UInt#7");
    QTest::newRow("long long is plain text")
        << QVariant(qint64(123)) << QJsonValue(u"123"_s) << QVariant(u"123"_s);
    QTest::newRow("unsigned long long is plain text")
        << QVariant(quint64(18446744073709551615ull)) << QJsonValue(u"18446744073709551615"_s)
        << QVariant(u"18446744073709551615"_s);
    typed("orientations", QVariant::fromValue(Qt::Orientations(Qt::Horizontal | Qt::Vertical)),
          "#Orientations#3");
    typed("colour list", QVariant::fromValue(QList<QColor>{QColor(Qt::white), QColor(0, 0, 0, 0)}),
          "#ClrList#4294967295;0");
    typed("empty colour list", QVariant::fromValue(QList<QColor>()), "#ClrList#");
    typed("point list", QVariant::fromValue(QList<QPoint>{QPoint(1, 2), QPoint(-3, 4)}),
          "#pointList#1,2;-3,4");
    QTest::newRow("variant list mixed")
        << QVariant(QVariantList{1, u"a"_s, QSize(1, 2)}) << QJsonValue(QJsonArray{1, u"a"_s, u"#Size#1x2"_s})
        << QVariant(QVariantList{1.0, u"a"_s, QSize(1, 2)});
    const QJsonObject object{{"a", 1}, {"b", QJsonArray{true}}};
    same("json object", object, object);
    const QJsonArray array{1, "x"};
    QTest::newRow("json array reads as variant list")
        << QVariant(array) << QJsonValue(array) << QVariant(QVariantList{1.0, u"x"_s});
}

void TestTypedValue::roundTrip()
{
    QFETCH(QVariant, value);
    QFETCH(QJsonValue, json);
    QFETCH(QVariant, back);

    bool ok = false;
    const QJsonValue written = variantToJsonValue(value, &ok);
    QVERIFY(ok);
    QCOMPARE(written, json);

    ok = false;
    compareVariant(jsonValueToVariant(written, &ok), back);
    QVERIFY(ok);
}

// Reading JSON that this system may find in files or that a user typed.
void TestTypedValue::read_data()
{
    QTest::addColumn<QJsonValue>("json");
    QTest::addColumn<QVariant>("expected");
    QTest::addColumn<bool>("ok");

    const auto read = [](const char* s, const QVariant& expected, bool ok = true) {
        QTest::newRow(s) << QJsonValue(QString::fromUtf8(s)) << expected << ok;
    };
    // Text that is not typed text, or typed text that does not read, stays as it is.
    const auto kept = [](const char* s, bool ok) {
        QTest::newRow(s) << QJsonValue(QString::fromUtf8(s)) << QVariant(QString::fromUtf8(s)) << ok;
    };
    kept("#ffffff", true); // no second hash
    kept("##abc", true);
    kept("#abc#def", true);
    for (const char* broken :
         {"#Size#10", "#Size#1x2x3", "#Rect#1x2", "#PointF#1", "#Color#10,20", "#LongLong#5"})
        kept(broken, false);
    read("#Size#10x20", QSize(10, 20));
    read("#Size#axb", QSize(0, 0)); // a part that is not a number reads as zero
    read("#Color#10,20,30", QColor(10, 20, 30, 255));
    read("$sl$a$sl$b", QStringList{"a", "b"});
    read("#Polygon#1x2,3,4x5", QPolygon({QPoint(1, 2), QPoint(4, 5)}));
    read("#JsonObject#{\"a\":1}", QJsonObject{{"a", 1}});
    read("#JsonObject#[1]", QJsonObject());
    read("#JsonArray#[1,2]", QJsonArray{1, 2});
    read("#JsonArray#[1,", QJsonArray());
    read("#VariantList#[\"{\\\"val\\\":\\\"#Size#1x2\\\"}\",\"broken\"]",
         QVariantList{QSize(1, 2), QVariant()});
    read("#intList#[1,2.5,-3,4294967296,\"x\"]", QVariantList{1, 0, -3, 0, 0});
    read("#intList#[1,", QVariantList());
    read("#UInt#x", 0u);
    read("#ClrList#4294967295;;255",
         QVariant::fromValue(QList<QColor>{QColor(Qt::white), QColor(0, 0, 0, 0), QColor::fromRgba(255)}));
    read("#pointList#1,2;3;;4,5,6;7,8", QVariant::fromValue(QList<QPoint>{QPoint(1, 2), QPoint(7, 8)}));
    QTest::newRow("nested array keeps failed element as text")
        << QJsonValue(QJsonArray{u"#Size#1"_s, 2}) << QVariant(QVariantList{u"#Size#1"_s, 2.0}) << false;
    QTest::newRow("undefined") << QJsonValue(QJsonValue::Undefined) << QVariant() << true;
}

void TestTypedValue::read()
{
    QFETCH(QJsonValue, json);
    QFETCH(QVariant, expected);
    QFETCH(bool, ok);

    bool actualOk = !ok;
    compareVariant(jsonValueToVariant(json, &actualOk), expected);
    QCOMPARE(actualOk, ok);
}

void TestTypedValue::unsupportedWriteFails_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::newRow("map") << QVariant(QVariantMap{{"a", 1}});
    QTest::newRow("char") << QVariant(QChar(u'a'));
    QTest::newRow("int list") << QVariant::fromValue(QList<int>{1, 2});
    QTest::newRow("pointF list") << QVariant::fromValue(QList<QPointF>{QPointF(1, 2)});
}

void TestTypedValue::unsupportedWriteFails()
{
    QFETCH(QVariant, value);
    bool ok = true;
    QCOMPARE(variantToJsonValue(value, &ok), QJsonValue(QJsonValue::Null));
    QVERIFY(!ok);

    // Inside a list the failure is reported and the other elements are kept.
    ok = true;
    QCOMPARE(variantToJsonValue(QVariantList{1, value}, &ok), QJsonValue(QJsonArray{1, QJsonValue()}));
    QVERIFY(!ok);
}

void TestTypedValue::failuresAreLogged()
{
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^stringToVariant: Not Implemented: .*QSize"));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^jsonValueToVariant: Not Implemented: .*#Size#7"));
    QCOMPARE(jsonValueToVariant(u"#Size#7"_s), QVariant(u"#Size#7"_s));

    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression("^variantToJsonValue: Not Implemented: .*QVariantMap"));
    QVERIFY(variantToJsonValue(QVariantMap()).isNull());
}

QTEST_GUILESS_MAIN(TestTypedValue)
#include "tst_typed_value.moc"
