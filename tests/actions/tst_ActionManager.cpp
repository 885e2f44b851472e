// The action registry: which types have an action, the table's ownership rules, the translation of
// data maps into command parameters, and values arriving from QML.
#include "ActionTestSupport.h"

#include "actions/RCAction.h"

#include <QJSEngine>
#include <QMetaEnum>
#include <QPointer>
#include <QTest>

using namespace ActionTest;

namespace {
// Answers 7 so a passed-through result is visible.
class ProbeAction : public IRCAction
{
public:
    int execute(const QString&, const QString&, const QVariant&) override { return 7; }
};
} // namespace

class tst_ActionManager : public QObject, private ActionFixture
{
    Q_OBJECT

private Q_SLOTS:
    void init() { start(); }
    void cleanup() { stop(); }

    // Project files and QML store the types as numbers.
    void typesAreStoredNumbers()
    {
        const QMetaEnum types = QMetaEnum::fromType<IRCAction::EActionType>();
        QCOMPARE(types.keyCount(), 56);
        for (int i = 0; i < types.keyCount(); ++i)
            QCOMPARE(types.value(i), i);
        QCOMPARE(types.valueToKey(36), "EActionType_ExcuteOtherSceneItem");
        QCOMPARE(types.valueToKey(54), "EActionType_PlayClickSound");
    }

    // Types 0, 6, 20, 24, 55 and those out of range have no action: they answer -1 and send nothing.
    // Every other type has its own, which a second one does not replace; null is refused.
    void everyOtherTypeHasItsOwnAction()
    {
        const QList<int> without{-1, 0, 6, 20, 24, 55, 56};
        for (int type = -1; type <= 56; ++type) {
            const bool free = without.contains(type);
            if (free)
                QCOMPARE(m_manager->execAction(QString(), QString(), type, QString()), -1);
            auto* probe = new ProbeAction;
            QVERIFY2(m_manager->addAction(type, probe) == free, qPrintable(QString::number(type)));
            if (!free)
                delete probe;
        }
        QVERIFY(m_project->terminal()->sent.isEmpty());
        QVERIFY(!m_manager->addAction(100, nullptr));
        m_manager->execAction(QString(), QString(), IRCAction::EActionType_SetTrack,
                              QVariantMap{{RCKeys::Id(), "t1"}, {RCKeys::State(), 2}});
        QCOMPARE(m_project->terminal()->sent, QStringList{R"(setTrack {"id":"t1","playState":2})"});
    }

    void removalDeletesTheAction()
    {
        QPointer<ProbeAction> action = new ProbeAction;
        QVERIFY(m_manager->addAction(100, action));
        QVERIFY(m_manager->addAction(101, action));
        QCOMPARE(m_manager->execAction(QString(), QString(), 101, QVariant()), 7);
        QVERIFY(m_manager->removeAction(action.data()));
        QVERIFY(action.isNull());
        QCOMPARE(m_manager->execAction(QString(), QString(), 100, QVariant()), -1);

        const int stop = IRCAction::EActionType_StopMultipleTrack;
        QVERIFY(m_manager->removeAction(stop));
        QVERIFY(!m_manager->removeAction(stop));
        QCOMPARE(m_manager->execAction(QString(), QString(), stop, QVariant()), -1);
    }

    // Property names without a command key are left out instead of all landing on the key "".
    void dataMapsTranslateToCommandKeys_data()
    {
        QTest::addColumn<QVariantMap>("data");
        QTest::addColumn<QString>("params");
        QTest::addRow("unmapped keys dropped")
            << QVariantMap{{"State", 1}, {"TrackId", "t1"}, {"Select", true}} << R"({"playState":1})";
        QTest::addRow("display") << QVariantMap{{"DisplayOpen", false}} << R"({"displayOutputState":false})";
        QTest::addRow("node progress")
            << QVariantMap{{"Id", "n"}, {"Progress", 1500}} << R"({"id":"n","progress":1500})";
        QTest::addRow("custom command") << QVariantMap{{"CustomCmdTcpipType", "udp"},
                                                       {"CustomCmdToIp", "10.0.0.2"},
                                                       {"CustomCmdToPort", 7000},
                                                       {"CustomCmd", "go"}}
                                        << R"({"cmd":"go","ip":"10.0.0.2","port":7000,"tcpOrUdp":"udp"})";
        QTest::addRow("empty") << QVariantMap() << "{}";
    }
    void dataMapsTranslateToCommandKeys()
    {
        QFETCH(QVariantMap, data);
        QFETCH(QString, params);
        RCAction action(m_manager.get());
        QCOMPARE(QJsonDocument(action.toCommandParams(data)).toJson(QJsonDocument::Compact), params.toUtf8());
    }

    // QML calls with null ids and script objects; the actions see empty texts and plain maps.
    void valuesFromQmlArePlain()
    {
        QJSEngine engine;
        engine.globalObject().setProperty("manager", engine.newQObject(m_manager.get()));
        const QJSValue result =
            engine.evaluate("manager.execAction(null, null, 17, {\"Id\": \"t9\", \"State\": 1})");
        QVERIFY2(!result.isError(), qPrintable(result.toString()));
        QCOMPARE(result.toInt(), 0);
        engine.evaluate("manager.execAction(null, null, 18, 4)");
        engine.evaluate("manager.execAction(null, null, 8, null)");
        QCOMPARE(m_project->terminal()->sent,
                 QStringList({R"(setTrack {"id":"t9","playState":1})", R"(getProject {"id":4})"}));
        // The download is recorded with the mirror, so that the server's answer is recognised.
        QVERIFY(m_project->mirror()->takeProjectRequest(4));
        QCOMPARE(QJSEngine::objectOwnership(m_manager.get()), QJSEngine::CppOwnership);
    }
};

QTEST_MAIN(tst_ActionManager)
#include "tst_ActionManager.moc"
