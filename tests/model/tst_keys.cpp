#include "model/RCKeys.h"

#include <QSet>
#include <QTest>

// Read during static initialisation, before main() runs.
static const QStringList earlyKeys = {RCKeys::Focus(), RCKeys::allKeys().value(200)};

class TestKeys : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void tableIsCompleteAndOrdered();
    void availableBeforeMain();
};

void TestKeys::availableBeforeMain()
{
    QCOMPARE(earlyKeys, QStringList({QStringLiteral("Focus"), QStringLiteral("Y")}));
}

void TestKeys::tableIsCompleteAndOrdered()
{
    const QStringList keys = RCKeys::allKeys();
    QCOMPARE(keys.size(), 201);
    QCOMPARE(QSet<QString>(keys.begin(), keys.end()).size(), 201);
    // Ascending by character code: capitals, then '_', then small letters.
    for (int i = 1; i < keys.size(); ++i)
        QVERIFY2(keys[i - 1].compare(keys[i], Qt::CaseSensitive) < 0, qPrintable(keys[i]));
    QCOMPARE(keys.first(), QStringLiteral("ActionType"));
    QCOMPARE(keys.last(), QStringLiteral("Y"));
    QVERIFY(keys.indexOf(QStringLiteral("SceneListVisible")) <
            keys.indexOf(QStringLiteral("SceneList_BackgroundColor")));
    QVERIFY(!keys.contains(QStringLiteral("focus")));
}

QTEST_GUILESS_MAIN(TestKeys)
#include "tst_keys.moc"
