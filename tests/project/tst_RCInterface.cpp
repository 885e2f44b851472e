#include "project/RCInterface.h"

#include <QJSEngine>
#include <QTest>

class tst_RCInterface : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void msecToString_data();
    void msecToString();
    void oneProcessWideObject();
};

void tst_RCInterface::msecToString_data()
{
    QTest::addColumn<int>("msec");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0 << QStringLiteral("00:00:00");
    QTest::newRow("h m s") << 3723000 << QStringLiteral("01:02:03");
    QTest::newRow("ms dropped") << 1500 << QStringLiteral("00:00:01");
    QTest::newRow("just under a second") << 999 << QStringLiteral("00:00:00");
    QTest::newRow("just under a day") << 86399999 << QStringLiteral("23:59:59");
    QTest::newRow("a day does not wrap") << 86400000 << QStringLiteral("24:00:00");
    QTest::newRow("many hours") << 360000000 << QStringLiteral("100:00:00");
    QTest::newRow("int max") << std::numeric_limits<int>::max() << QStringLiteral("596:31:23");
    QTest::newRow("minus one second") << -1000 << QStringLiteral("-00:00:01");
    QTest::newRow("minus under a second") << -999 << QStringLiteral("00:00:00");
    QTest::newRow("int min") << std::numeric_limits<int>::min() << QStringLiteral("-596:31:23");
}

void tst_RCInterface::msecToString()
{
    QFETCH(int, msec);
    QFETCH(QString, text);
    QCOMPARE(RCInterface::instance()->msecToString(msec), text);
}

void tst_RCInterface::oneProcessWideObject()
{
    QCOMPARE(RCInterface::instance(), RCInterface::instance());
    QCOMPARE(QJSEngine::objectOwnership(RCInterface::instance()), QJSEngine::CppOwnership);
    IRCInterface base;
    QCOMPARE(base.msecToString(1000), QString());
    QVERIFY(!base.sceneListItemContainScene(QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")));
}

QTEST_GUILESS_MAIN(tst_RCInterface)
#include "tst_RCInterface.moc"
