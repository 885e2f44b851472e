// The project root's actions against the stand-in media server over the real control link, on
// loopback inside a private network namespace: the mirror's requests after "connected", taps on
// catalogue items, QML calls and an item script reaching the wire; and the close and project-switch
// requests that the main window takes over.
#include "actions/IRCAction.h"
#include "actions/IRCActionManager.h"
#include "editing/RCCommandManager.h"
#include "mirror/IRCStelvaneSyncer.h"
#include "model/IRCControl.h"
#include "model/IRCControlInstantiationParam.h"
#include "model/RCSceneManager.h"
#include "network/Terminal.h"
#include "project/RCProject.h"
#include "project/TemporaryHome.h"
#include "project/TestPackets.h"
#include "root/RCProjectRoot.h"
#include "root/RCQmlRegistration.h"
#include "support/IsolatedNetwork.h"
#include "support/LoopbackStandin.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <memory>

class tst_ProjectActions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY_INSIDE_PRIVATE_NETWORK();
        RCQmlRegistration::registerTypes();
    }
    void init()
    {
        m_home = std::make_unique<TemporaryHome>();
        RCSceneManager::instance()->fromJson(QJsonObject());
        RCCommandManager::instance()->clear();
        m_engine = std::make_unique<QQmlEngine>();
        m_project = std::make_unique<RCProjectRoot>(m_engine.get(), QStringList{QStringLiteral("Tavix")});
        m_engine->rootContext()->setContextProperty(QStringLiteral("project"), m_project.get());
        m_wire.clear();
        m_stageTimes.clear();
    }
    void cleanup()
    {
        m_project.reset();
        m_standin.reset();
        m_engine.reset();
        m_home.reset();
    }
    // The mirror asks for the server's data through the actions, in order, as soon as the server has
    // accepted the panel: the stage image (a stage view is showing), the table, the tracks and the five
    // global properties the server knows. While the server answers, the stage is asked for again about
    // every 300 ms; once the link drops the mirror empties and stops asking.
    void connectAsksThroughTheActions()
    {
        IRCStelvaneSyncer* mirror = m_project->getStelvaneSyncer();
        mirror->stageViewRefAddOne();
        connectToStandin();
        QTRY_VERIFY_WITH_TIMEOUT(m_wire.size() >= 8, 5000);
        QCOMPARE(m_wire.mid(0, 8),
                 QStringList({"getStageImage {}", "getProgramTable {}", "getTrackManager {}",
                              R"(getGlobalProperty {"name":"brightness"})",
                              R"(getGlobalProperty {"name":"displayOutputState"})",
                              R"(getGlobalProperty {"name":"stageLink"})",
                              R"(getGlobalProperty {"name":"standby"})",
                              R"(getGlobalProperty {"name":"volume"})"}));
        QTRY_VERIFY_WITH_TIMEOUT(m_stageTimes.size() >= 6, 5000);
        // Arrival times at the peer: one late arrival shortens the next gap, so the lower bound only
        // tells a paced request from one sent straight after the answer (a few milliseconds).
        const qint64 span = m_stageTimes.at(5) - m_stageTimes.at(1);
        QVERIFY2(span >= 4 * 150 && span <= 4 * 800, qPrintable(QString::number(span)));

        QSignalSpy disconnected(mirror, &IRCStelvaneSyncer::disconnectFromServer);
        m_standin->dropClients();
        QVERIFY(disconnected.wait(5000));
        QCOMPARE(mirror->getState(), IRCStelvaneSyncer::EState_Idel);
        QCOMPARE(mirror->getProgramCount(), 0);
        const qsizetype requests = m_stageTimes.size();
        QTest::qWait(700);
        QCOMPARE(m_stageTimes.size(), requests);
    }
    // Taps on catalogue items, a call from QML and an item script run from QML, each through the
    // project root, arrive at the server with their keys and JSON types, in order.
    void tapsReachTheWire()
    {
        connectToStandin();
        QTRY_VERIFY_WITH_TIMEOUT(m_wire.size() >= 7, 5000);
        m_wire.clear();

        RCScenePresenter* scenes = m_project->getScenePresenter();
        RCSceneItemPresenter* items = m_project->getSceneItemPresenter();
        const QString sceneId = scenes->addScene(QStringLiteral("S"), QString(), QString(), false);
        using K = IRCControl::EIRCControlType;
        const QString forward = addItem(sceneId, K::EIRCControlType_FastForward);
        const QString custom =
            addItem(sceneId, K::EIRCControlType_Custom,
                    {{"CustomCmdToIp", "10.1.2.3"}, {"CustomCmdToPort", 9000}, {"CustomCmd", "go"}});
        const QString vexa = addItem(sceneId, K::EIRCControlType_VexaPlayPre);
        addItem(sceneId, K::EIRCControlType_Standby, {{"ObjectName", "standby"}});

        auto tap = [&](const QString& itemId) {
            items->triggerAction(sceneId, itemId,
                                 items->getPropertyValue(sceneId, itemId, RCKeys::ActionType()).toInt(),
                                 QString());
        };
        tap(forward);
        tap(custom);
        tap(vexa);
        scenes->triggerAction(sceneId, IRCAction::EActionType_ExcuteOtherSceneItem,
                              QVariantMap{{"SceneName", "S"}, {"SceneItemName", "standby"}});

        QQmlComponent component(m_engine.get());
        component.setData(R"(
            import QtQml
            import Rc.IRCAction 1.0
            import Rc.IRCActionManager 1.0
            import Rc.RCScriptProcess 1.0
            QtObject {
                property int download: project.getActionManager().execAction(null, null,
                                           IRCAction.EActionType_DownloadProject, 3)
                property var runner: RCScriptProcess {
                    onSceneItemExcute: (sceneName, itemName) => project.getSceneItemPresenter().triggerAction(
                        "", "", IRCAction.EActionType_ExcuteOtherSceneItem,
                        {"SceneName": sceneName, "SceneItemName": itemName})
                }
                Component.onCompleted: runner.excute("执行（S，standby）")
            }
        )",
                          QUrl(QStringLiteral("qrc:/probe.qml")));
        std::unique_ptr<QObject> probe(component.create());
        QVERIFY2(probe, qPrintable(component.errorString()));
        QCOMPARE(probe->property("download").toInt(), 0);

        const QStringList expected{R"(fastForwardCurrentProgram {"sec":5})",
                                   R"(customCmd {"cmd":"go","ip":"10.1.2.3","port":9000,"tcpOrUdp":0})",
                                   R"(playPreVexaProgram {"programListType":0})",
                                   R"(setGlobalProperty {"standby":true})",
                                   R"(getProject {"id":3})",
                                   R"(setGlobalProperty {"standby":true})"};
        QTRY_COMPARE_WITH_TIMEOUT(m_wire.size(), expected.size(), 5000);
        QCOMPARE(m_wire, expected);
    }
    // Exit and switch requests are deferred to the event loop and handed to whoever takes them (the
    // main window), without touching the open project.
    void closeAndSwitchGoThroughTheWindow()
    {
        QSignalSpy closes(m_project.get(), &IRCProject::closeRequested);
        QSignalSpy switches(m_project.get(), &IRCProject::switchProjectRequested);
        const QString sceneId =
            m_project->getScenePresenter()->addScene(QStringLiteral("S"), QString(), QString(), false);
        addItem(sceneId, IRCControl::EIRCControlType_Exit, {{"ObjectName", "exit"}});
        m_project->getScenePresenter()->triggerAction(
            sceneId, IRCAction::EActionType_ExcuteOtherSceneItem,
            QVariantMap{{"SceneName", "S"}, {"SceneItemName", "exit"}});
        QCOMPARE(closes.count(), 0);
        QTRY_COMPARE(closes.count(), 1);

        const QString parent = m_home->filePath(QStringLiteral("projects"));
        QVERIFY(writeTestFile(parent + "/A/project.tavx", projectFileText(QStringLiteral("SA"))));
        QVERIFY(writeTestFile(parent + "/B/project.tavx", projectFileText(QStringLiteral("SB"))));
        QVERIFY(m_project->loadStorageProjectPacket(parent + "/A"));
        QCOMPARE(m_project->getActionManager()->execAction(QString(), QString(),
                                                           IRCAction::EActionType_SwitchProject,
                                                           QVariantMap{{"ProjectName", "B"}}),
                 0);
        QCOMPARE(switches.count(), 0);
        QTRY_COMPARE(switches.count(), 1);
        QCOMPARE(switches.first().first().toString(), parent + "/B");
        QCOMPARE(m_project->getProjectName(), QStringLiteral("A"));
    }
    // With no window to ask about unsaved changes, a switch happens only when there are none.
    void switchWithoutWindowKeepsUnsavedWork()
    {
        const QString parent = m_home->filePath(QStringLiteral("projects"));
        for (const char* name : {"A", "B", "C"})
            QVERIFY(
                writeTestFile(parent + "/" + name + "/project.tavx", projectFileText(QString("S") + name)));
        QVERIFY(m_project->loadStorageProjectPacket(parent + "/A"));
        IRCActionManager* actions = m_project->getActionManager();
        QSignalSpy changed(m_project.get(), &IRCProject::currentProjectChanged);
        QCOMPARE(actions->execAction(QString(), QString(), IRCAction::EActionType_SwitchProject,
                                     QVariantMap{{"ProjectName", "B"}}),
                 0);
        QVERIFY(changed.wait(5000));
        QCOMPARE(m_project->getProjectName(), QStringLiteral("B"));

        m_project->getScenePresenter()->addScene(QStringLiteral("unsaved"));
        QVERIFY(m_project->hasChangedOnClosing());
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression("Switch project refused, the open project has unsaved"));
        QCOMPARE(actions->execAction(QString(), QString(), IRCAction::EActionType_SwitchProject,
                                     QVariantMap{{"ProjectName", "C"}}),
                 0);
        QVERIFY(!changed.wait(300));
        QCOMPARE(m_project->getProjectName(), QStringLiteral("B"));
    }
    // Last: the fallback quits the application's event loop.
    void closeWithoutWindowQuits()
    {
        QTimer::singleShot(0, m_project.get(), [this] { m_project->requestClose(); });
        QTimer::singleShot(10000, [] { QCoreApplication::exit(1); });
        QCOMPARE(QCoreApplication::exec(), 0);
    }

private:
    // Starts the stand-in and waits until the project is connected to it.
    void connectToStandin()
    {
        m_standin = startStandin();
        QVERIFY(m_standin);
        connect(m_standin.get(), &MediaServerStandin::commandReceived, this,
                [this](const QString& sCmd, QJsonObject params) {
                    params.remove(QStringLiteral("uid"));
                    m_wire.append(sCmd + ' ' + QJsonDocument(params).toJson(QJsonDocument::Compact));
                    if (sCmd == QLatin1String("getStageImage"))
                        m_stageTimes.append(m_clock.elapsed());
                });
        m_clock.start();
        qobject_cast<Terminal*>(m_project->getTerminal())
            ->setDiscoveryTarget(QHostAddress::LocalHost, m_standin->discoveryPort());
        QTRY_VERIFY_WITH_TIMEOUT(m_project->isConnectFromHost(), 10000);
    }
    QString addItem(const QString& sceneId, int kind, const QVariantMap& properties = {})
    {
        IRCControl* control =
            m_project->getControlManager()->getControlByType(IRCControl::EIRCControlType(kind));
        RCSceneItemPresenter* items = m_project->getSceneItemPresenter();
        const QString id = items->addItem(sceneId, control->getInstantiationParam()->toJson(), false);
        for (auto it = properties.cbegin(); it != properties.cend(); ++it)
            items->setPropertyValue(sceneId, id, it.key(), it.value(), false);
        return id;
    }

    std::unique_ptr<TemporaryHome> m_home;
    std::unique_ptr<QQmlEngine> m_engine;
    std::unique_ptr<RCProject> m_project;
    std::unique_ptr<MediaServerStandin> m_standin;
    QStringList m_wire;
    QList<qint64> m_stageTimes;
    QElapsedTimer m_clock;
};

QTEST_MAIN(tst_ProjectActions)
#include "tst_ProjectActions.moc"
