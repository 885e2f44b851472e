#include "model/RCKeys.h"

#include <QSet>
#include <QTest>

// Read during static initialisation, before main() runs.
static const QStringList earlyKeys = {RCKeys::Focus(), RCKeys::allKeys().value(201)};

class TestKeys : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void tableIsCompleteAndOrdered();
    void unusualSpellingsAreKept();
    void availableBeforeMain();
};

void TestKeys::availableBeforeMain()
{
    QCOMPARE(earlyKeys, QStringList({QStringLiteral("Focus"), QStringLiteral("Y")}));
}

void TestKeys::tableIsCompleteAndOrdered()
{
    const QStringList keys = RCKeys::allKeys();
    QCOMPARE(keys.size(), 202);
    QCOMPARE(QSet<QString>(keys.begin(), keys.end()).size(), 202);
    // Ascending by character code: capitals, then '_', then small letters.
    for (int i = 1; i < keys.size(); ++i)
        QVERIFY2(keys[i - 1].compare(keys[i], Qt::CaseSensitive) < 0, qPrintable(keys[i]));
    QCOMPARE(keys.first(), QStringLiteral("ActionType"));
    QCOMPARE(keys.last(), QStringLiteral("Y"));
    QVERIFY(keys.indexOf(QStringLiteral("SceneListVisible")) <
            keys.indexOf(QStringLiteral("SceneList_BackgroundColor")));
    QVERIFY(!keys.contains(QStringLiteral("focus")));
}

void TestKeys::unusualSpellingsAreKept()
{
    QCOMPARE(RCKeys::ProgramManager_Node_HorSpaceing(), QStringLiteral("ProgramManager_Node_HorSpaceing"));
    QCOMPARE(RCKeys::ProgramManager_Node_VerSpaceing(), QStringLiteral("ProgramManager_Node_VerSpaceing"));
    QCOMPARE(RCKeys::SceneList_Node_Spaceing(), QStringLiteral("SceneList_Node_Spaceing"));
    QCOMPARE(RCKeys::Spaceing(), QStringLiteral("Spaceing"));
    QCOMPARE(RCKeys::ProgramManager_Tab_Spacing(), QStringLiteral("ProgramManager_Tab_Spacing"));
    QCOMPARE(RCKeys::ProjectJoinPasswrod(), QStringLiteral("ProjectJoinPasswrod"));
    QCOMPARE(RCKeys::DefaultPassword(), QStringLiteral("DefaultPassword"));
    QCOMPARE(RCKeys::NetDislinkIconPath(), QStringLiteral("NetDislinkIconPath"));
    QCOMPARE(RCKeys::StageDislinkIconPath(), QStringLiteral("StageDislinkIconPath"));
    QCOMPARE(RCKeys::ScriptBusyingIconPath(), QStringLiteral("ScriptBusyingIconPath"));
    QCOMPARE(RCKeys::ScriptNoBusyingIconPath(), QStringLiteral("ScriptNoBusyingIconPath"));
    QCOMPARE(RCKeys::CustomCmdTcpipType(), QStringLiteral("CustomCmdTcpipType"));
}

QTEST_GUILESS_MAIN(TestKeys)
#include "tst_keys.moc"
