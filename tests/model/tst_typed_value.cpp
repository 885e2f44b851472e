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
    void prefixParsing();
    void realNumbersUseSixSignificantDigits();
    void failuresAreLogged();
};

// Every row: the value, its JSON form, and what reading that JSON gives back.
void TestTypedValue::roundTrip_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QJsonValue>("json");
    QTest::addColumn<QVariant>("back");

    QTest::newRow("int reads back as double") << QVariant(7) << QJsonValue(7) << QVariant(7.0);
    QTest::newRow("double") << QVariant(2.5) << QJsonValue(2.5) << QVariant(2.5);
    QTest::newRow("float") << QVariant(1.5f) << QJsonValue(1.5) << QVariant(1.5);
    QTest::newRow("bool") << QVariant(true) << QJsonValue(true) << QVariant(true);
    QTest::newRow("string") << QVariant(u"abc"_s) << QJsonValue(u"abc"_s) << QVariant(u"abc"_s);
    QTest::newRow("url") << QVariant(QUrl(u"qrc:/control/play.png"_s))
                         << QJsonValue(u"qrc:/control/play.png"_s) << QVariant(u"qrc:/control/play.png"_s);
    QTest::newRow("invalid") << QVariant() << QJsonValue(QJsonValue::Null) << QVariant();
    QTest::newRow("size") << QVariant(QSize(960, 540)) << QJsonValue(u"#Size#960x540"_s)
                          << QVariant(QSize(960, 540));
    QTest::newRow("sizeF") << QVariant(QSizeF(1.5, 2.25)) << QJsonValue(u"#SizeF#1.5x2.25"_s)
                           << QVariant(QSizeF(1.5, 2.25));
    QTest::newRow("rect negative") << QVariant(QRect(-5, -3, 10, 10)) << QJsonValue(u"#Rect#-5x-3x10x10"_s)
                                   << QVariant(QRect(-5, -3, 10, 10));
    QTest::newRow("rectF") << QVariant(QRectF(0.5, -1, 2, 3)) << QJsonValue(u"#RectF#0.5x-1x2x3"_s)
                           << QVariant(QRectF(0.5, -1, 2, 3));
    QTest::newRow("point") << QVariant(QPoint(-1, 2)) << QJsonValue(u"#Point#-1x2"_s)
                           << QVariant(QPoint(-1, 2));
    QTest::newRow("pointF") << QVariant(QPointF(0.25, 4)) << QJsonValue(u"#PointF#0.25x4"_s)
                            << QVariant(QPointF(0.25, 4));
    QTest::newRow("string list") << QVariant(QStringList{"a", "b"}) << QJsonValue(u"#StringList#$sl$a$sl$b"_s)
                                 << QVariant(QStringList{"a", "b"});
    QTest::newRow("string list drops empty item")
        << QVariant(QStringList{"a", "", "b"}) << QJsonValue(u"#StringList#$sl$a$sl$$sl$b"_s)
        << QVariant(QStringList{"a", "b"});
    QTest::newRow("empty string list")
        << QVariant(QStringList()) << QJsonValue(u"#StringList#$sl$"_s) << QVariant(QStringList());
    QTest::newRow("colour") << QVariant(QColor(255, 0, 0)) << QJsonValue(u"#Color#255,0,0,255"_s)
                            << QVariant(QColor(255, 0, 0));
    QTest::newRow("colour alpha") << QVariant(QColor(1, 2, 3, 4)) << QJsonValue(u"#Color#1,2,3,4"_s)
                                  << QVariant(QColor(1, 2, 3, 4));
    const QPolygon polygon({QPoint(1, 2), QPoint(-3, 4)});
    QTest::newRow("polygon") << QVariant(polygon) << QJsonValue(u"#Polygon#1x2,-3x4"_s) << QVariant(polygon);
    const QPolygonF polygonF({QPointF(0.5, 1), QPointF(2, 3.5)});
    QTest::newRow("polygonF") << QVariant(polygonF) << QJsonValue(u"#PolygonF#0.5x1,2x3.5"_s)
                              << QVariant(polygonF);
    QTest::newRow("byte array utf8") << QVariant(QByteArray("h\xc3\xa9")) << QJsonValue(u"#ByteArray#hé"_s)
                                     << QVariant(QByteArray("h\xc3\xa9"));
    QTest::newRow("uint") << QVariant(7u) << QJsonValue(u"#UInt#7"_s) << QVariant(7u);
    QTest::newRow("long long is plain text")
        << QVariant(qint64(123)) << QJsonValue(u"123"_s) << QVariant(u"123"_s);
    QTest::newRow("unsigned long long is plain text")
        << QVariant(quint64(18446744073709551615ull)) << QJsonValue(u"18446744073709551615"_s)
        << QVariant(u"18446744073709551615"_s);
    QTest::newRow("orientations") << QVariant::fromValue(Qt::Orientations(Qt::Horizontal | Qt::Vertical))
                                  << QJsonValue(u"#Orientations#3"_s)
                                  << QVariant::fromValue(Qt::Orientations(Qt::Horizontal | Qt::Vertical));
    const QList<QColor> colours{QColor(Qt::white), QColor(0, 0, 0, 0)};
    QTest::newRow("colour list") << QVariant::fromValue(colours) << QJsonValue(u"#ClrList#4294967295;0"_s)
                                 << QVariant::fromValue(colours);
    QTest::newRow("empty colour list") << QVariant::fromValue(QList<QColor>()) << QJsonValue(u"#ClrList#"_s)
                                       << QVariant::fromValue(QList<QColor>());
    const QList<QPoint> points{QPoint(1, 2), QPoint(-3, 4)};
    QTest::newRow("point list") << QVariant::fromValue(points) << QJsonValue(u"#pointList#1,2;-3,4"_s)
                                << QVariant::fromValue(points);
    QTest::newRow("variant list mixed")
        << QVariant(QVariantList{1, u"a"_s, QSize(1, 2)}) << QJsonValue(QJsonArray{1, u"a"_s, u"#Size#1x2"_s})
        << QVariant(QVariantList{1.0, u"a"_s, QSize(1, 2)});
    const QJsonObject object{{"a", 1}, {"b", QJsonArray{true}}};
    QTest::newRow("json object") << QVariant(object) << QJsonValue(object) << QVariant(object);
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

    auto text = [](const char* s) { return QJsonValue(QString::fromUtf8(s)); };
    auto str = [](const char* s) { return QVariant(QString::fromUtf8(s)); };

    QTest::newRow("no second hash") << text("#ffffff") << str("#ffffff") << true;
    QTest::newRow("empty type name") << text("##abc") << str("##abc") << true;
    QTest::newRow("unknown type name") << text("#abc#def") << str("#abc#def") << true;
    QTest::newRow("user typed size") << text("#Size#10x20") << QVariant(QSize(10, 20)) << true;
    QTest::newRow("size with one part fails, kept as text") << text("#Size#10") << str("#Size#10") << false;
    QTest::newRow("size with three parts fails") << text("#Size#1x2x3") << str("#Size#1x2x3") << false;
    QTest::newRow("rect with two parts fails") << text("#Rect#1x2") << str("#Rect#1x2") << false;
    QTest::newRow("pointF with one part fails") << text("#PointF#1") << str("#PointF#1") << false;
    QTest::newRow("non-number part reads as zero") << text("#Size#axb") << QVariant(QSize(0, 0)) << true;
    QTest::newRow("colour of three parts is opaque")
        << text("#Color#10,20,30") << QVariant(QColor(10, 20, 30, 255)) << true;
    QTest::newRow("colour of two parts fails") << text("#Color#10,20") << str("#Color#10,20") << false;
    QTest::newRow("string list marker alone")
        << text("$sl$a$sl$b") << QVariant(QStringList{"a", "b"}) << true;
    QTest::newRow("polygon skips malformed point")
        << text("#Polygon#1x2,3,4x5") << QVariant(QPolygon({QPoint(1, 2), QPoint(4, 5)})) << true;
    QTest::newRow("json object text")
        << text("#JsonObject#{\"a\":1}") << QVariant(QJsonObject{{"a", 1}}) << true;
    QTest::newRow("json object text not an object")
        << text("#JsonObject#[1]") << QVariant(QJsonObject()) << true;
    QTest::newRow("json array text") << text("#JsonArray#[1,2]") << QVariant(QJsonArray{1, 2}) << true;
    QTest::newRow("json array text broken") << text("#JsonArray#[1,") << QVariant(QJsonArray()) << true;
    QTest::newRow("variant list text")
        << text("#VariantList#[\"{\\\"val\\\":\\\"#Size#1x2\\\"}\",\"broken\"]")
        << QVariant(QVariantList{QSize(1, 2), QVariant()}) << true;
    QTest::newRow("int list") << text("#intList#[1,2.5,-3,4294967296,\"x\"]")
                              << QVariant(QVariantList{1, 0, -3, 0, 0}) << true;
    QTest::newRow("int list broken") << text("#intList#[1,") << QVariant(QVariantList()) << true;
    QTest::newRow("uint not a number") << text("#UInt#x") << QVariant(0u) << true;
    QTest::newRow("colour list empty part is transparent")
        << text("#ClrList#4294967295;;255")
        << QVariant::fromValue(QList<QColor>{QColor(Qt::white), QColor(0, 0, 0, 0), QColor::fromRgba(255)})
        << true;
    QTest::newRow("point list skips malformed point")
        << text("#pointList#1,2;3;;4,5,6;7,8")
        << QVariant::fromValue(QList<QPoint>{QPoint(1, 2), QPoint(7, 8)}) << true;
    QTest::newRow("long long typed text has no reader") << text("#LongLong#5") << str("#LongLong#5") << false;
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

void TestTypedValue::prefixParsing()
{
    QString text = u"#Rect#1x2x3x4"_s;
    QCOMPARE(parseVariantTypePrefix(text), int(QMetaType::QRect));
    QCOMPARE(text, u"1x2x3x4"_s);

    text = u"#Nope#1"_s;
    QCOMPARE(parseVariantTypePrefix(text), 0);
    QCOMPARE(text, u"#Nope#1"_s);

    QCOMPARE(variantTypePrefix(QMetaType::QSize), u"#Size#"_s);
    QCOMPARE(variantTypePrefix(qMetaTypeId<QList<int>>()), u"#intList#"_s);
    QCOMPARE(variantTypePrefix(QMetaType::Int), QString());

    bool ok = true;
    QVERIFY(!stringToVariant(u"1"_s, QMetaType::QVariantMap, &ok).isValid());
    QVERIFY(!ok);
}

void TestTypedValue::realNumbersUseSixSignificantDigits()
{
    QCOMPARE(variantToJsonValue(QSizeF(0.1234567, 1234567.0)), QJsonValue(u"#SizeF#0.123457x1.23457e+06"_s));
    QCOMPARE(jsonValueToVariant(u"#SizeF#0.123457x1.23457e+06"_s), QVariant(QSizeF(0.123457, 1234570.0)));
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
