#include "model/RCKeys.h"

#include <QSet>
#include <QTest>

using namespace Qt::StringLiterals;

// Read during static initialisation, before main() runs.
static const QStringList earlyKeys = {RCKeys::Focus(), RCKeys::allKeys().value(201)};

class TestKeys : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void tableIsCompleteAndOrdered();
    void availableBeforeMain();
};

void TestKeys::availableBeforeMain()
{
    QCOMPARE(earlyKeys, QStringList({u"Focus"_s, u"Y"_s}));
}

void TestKeys::tableIsCompleteAndOrdered()
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

QTEST_GUILESS_MAIN(TestKeys)
#include "tst_keys.moc"
