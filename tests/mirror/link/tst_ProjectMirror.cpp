// The project root's side of the mirror, against the stand-in media server over the real control
// link on loopback inside a private network namespace: creation, QML registration, the
// connection-state wiring, and the password handshake followed by the scripted show (every data
// command) driving the mirror end to end.
#include "mirror/DispatchTestSupport.h"
#include "network/Terminal.h"
#include "project/RCProject.h"
#include "project/TemporaryHome.h"
#include "root/RCProjectRoot.h"
#include "root/RCQmlRegistration.h"
#include "support/IsolatedNetwork.h"
#include "support/LoopbackStandin.h"

#include <QFile>
#include <QQmlComponent>
#include <QQmlContext>
#include <QTemporaryDir>
#include <QTest>

using namespace DispatchTest;

class tst_ProjectMirror : public QObject
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
        m_engine = std::make_unique<QQmlEngine>();
        m_project = std::make_unique<RCProjectRoot>(m_engine.get(), QStringList{QStringLiteral("Tavix")});
        QVERIFY(m_project->getStelvaneSyncer());
    }
    void cleanup()
    {
        m_project.reset();
        // The mirror took its image provider with it while the engine still existed.
        QVERIFY(!m_engine->imageProvider(QStringLiteral("stelvaneImageProvider")));
        m_engine.reset();
        m_home.reset();
    }
    void qmlReadsTheMirrorAndCreatesTheTableModel()
    {
        QVERIFY(m_engine->imageProvider(QStringLiteral("stelvaneImageProvider")));
        // As main publishes it.
        m_engine->rootContext()->setContextProperty(QStringLiteral("project"), m_project.get());
        m_engine->rootContext()->setContextProperty(QStringLiteral("stelvaneSyncer"),
                                                    m_project->getStelvaneSyncer());
        QQmlComponent component(m_engine.get());
        component.setData(R"(
            import QtQml
            import Rc.IRCStelvaneSyncer 1.0
            import Rc.QmlComponents 1.0
            QtObject {
                property int complete: IRCStelvaneSyncer.EState_ComplateDownload
                property int state: stelvaneSyncer.getState()
                property real volume: stelvaneSyncer.getGlobalProperty("Volume")
                property bool same: project.getStelvaneSyncer() === stelvaneSyncer
                property var model: ProgramTableModel {}
            }
        )",
                          QUrl(QStringLiteral("qrc:/probe.qml")));
        std::unique_ptr<QObject> probe(component.create());
        QVERIFY2(probe, qPrintable(component.errorString()));
        QCOMPARE(probe->property("complete").toInt(), 2);
        QCOMPARE(probe->property("state").toInt(), 0);
        QCOMPARE(probe->property("volume").toDouble(), 0.5);
        QVERIFY(probe->property("same").toBool());
        QVERIFY(probe->property("model").value<QObject*>());
    }
    void connectionStateReachesTheMirror()
    {
        IRCStelvaneSyncer* mirror = m_project->getStelvaneSyncer();
        QList<bool> markWhenRequested;
        connect(mirror, &IRCStelvaneSyncer::programTableRequest, this,
                [&] { markWhenRequested.append(m_project->isConnectFromHost()); });
        connect(mirror, &IRCStelvaneSyncer::disconnectFromServer, this,
                [&] { markWhenRequested.append(m_project->isConnectFromHost()); });

        QTest::ignoreMessage(QtInfoMsg, "Terminal project connected to server success. \"198.18.0.9\"");
        Q_EMIT m_project->connectToHost(QStringLiteral("198.18.0.9"));
        // The mirror asks for the server's data before the connected mark lets data commands in.
        QCOMPARE(markWhenRequested, QList<bool>{false});
        QVERIFY(m_project->isConnectFromHost());
        QCOMPARE(mirror->getState(), IRCStelvaneSyncer::EState_Connect);
        QCOMPARE(mirror->getServerIp(), QString("198.18.0.9"));

        QTest::ignoreMessage(QtInfoMsg, "Terminal socket disconnect.");
        Q_EMIT m_project->getTerminal()->socketDisconnected();
        QCOMPARE(markWhenRequested, QList<bool>({false, true}));
        QVERIFY(!m_project->isConnectFromHost());
        QCOMPARE(mirror->getState(), IRCStelvaneSyncer::EState_Idel);
    }
    // The password handshake (asked, refused, accepted, each with its log line), then the stand-in's
    // show without its waits: it ends with the answer to a download the panel asked for before the
    // link came up, and a download asked for over the link follows.
    void scriptedShowDrivesTheMirror()
    {
        QTemporaryDir dir;
        QFile show(qEnvironmentVariable("TAVIX_SOURCE_DIR") +
                   QStringLiteral("/tools/mediaserver-standin/show.jsonl"));
        QFile copy(dir.filePath(QStringLiteral("show.jsonl")));
        QVERIFY(show.open(QIODevice::ReadOnly) && copy.open(QIODevice::WriteOnly));
        while (!show.atEnd()) {
            const QByteArray line = show.readLine().trimmed();
            if (line.isEmpty() || line.startsWith('#'))
                continue;
            QJsonObject entry = QJsonDocument::fromJson(line).object();
            entry.insert(QStringLiteral("delayMs"), 0);
            copy.write(QJsonDocument(entry).toJson(QJsonDocument::Compact) + '\n');
        }
        copy.close();
        StandinOptions options;
        options.password = QStringLiteral("pw");
        options.replayFile = copy.fileName();
        options.state =
            jsonObject(R"({"projects":{"2":{"name":"Asked","trackArray":[{"name":"Track B"}]}}})");
        const std::unique_ptr<MediaServerStandin> server = startStandin(options);
        QVERIFY(server);

        IRCStelvaneSyncer* mirror = m_project->getStelvaneSyncer();
        MirrorProbe probe(mirror, m_engine.get());
        mirror->addProjectRequest(1);
        auto* terminal = qobject_cast<Terminal*>(m_project->getTerminal());
        terminal->setDiscoveryTarget(QHostAddress::LocalHost, server->discoveryPort());

        QTest::ignoreMessage(QtInfoMsg, "Terminal project connecting to server with password verify.");
        QTRY_COMPARE_WITH_TIMEOUT(probe.count("connectVerifyAsk"), 1, 10000);
        QTest::ignoreMessage(QtWarningMsg, "Failed terminal connect to server with error password.");
        m_project->getSetting()->setValue(RCKeys::DefaultPassword(), QStringLiteral("wrong"));
        QTRY_COMPARE_WITH_TIMEOUT(probe.count("connectPasswordError"), 1, 10000);
        QVERIFY(!m_project->isConnectFromHost());
        m_project->getSetting()->setValue(RCKeys::DefaultPassword(), QStringLiteral("pw"));
        QTRY_COMPARE_WITH_TIMEOUT(probe.count("projectSet"), 1, 20000);
        QVERIFY(m_project->isConnectFromHost());

        compareProbes(probe, {"state", 2, "programs", QString("p1,p2,p3,p4"), "program:p1:Name",
                              QString("Opening (live)"), "program:p1:State", 1, "layers", QString("l1,l2,l3"),
                              "layer:l3:Name", QString("Audio")});
        compareProbes(probe, {"nodes", QString("n1,n2,n3,n4"), "node:n1:Name", QString("Intro clip (live)"),
                              "node:n1:Progress", 30000, "image:n1", QString("16x9")});
        compareProbes(probe, {"tracks", QString("t1,t2,t3"), "track:t1:Name", QString("Track A (live)"),
                              "track:t1:Progress", 40, "trackPrograms:t1", QString("tp1"),
                              "trackProgram:t1:tp1:CountdownTime", 29.5});
        compareProbes(probe, {"video", QString("v1"), "vexaPrograms:v1", QString("vp1,vp2,vp3"),
                              "vexaProgram:v1:vp1:Progress", 12, "vexaProgram:v1:vp3:BeginPos", 5, "audio",
                              QString("a1,a2"), "vexaList:a2:Name", QString("Sound effects"), "text",
                              QString("x1")});
        compareProbes(probe, {"global:Volume", 0.8, "global:Brightness", 65, "global:Standby", true,
                              "global:DisplayOpen", true, "image:stageViewImage", QString("32x18"),
                              "signal:projectSet:0", QString("1")});
        RCScenePresenter* scenes = RCScenePresenter::instance();
        const QString showScene = scenes->getSelectSceneId();
        QCOMPARE(scenes->getPropertyValue(showScene, RCKeys::Name()).toString(),
                 QStringLiteral("Server show"));
        QCOMPARE(RCSceneItemPresenter::instance()->getItemCount(showScene), 1 + 3 + 2 * 2);

        // A download asked for over the link, answered from the stand-in's state.
        mirror->addProjectRequest(2);
        terminal->sendCmd(QStringLiteral("getProject"), QJsonObject{{"id", 2}});
        QTRY_COMPARE_WITH_TIMEOUT(probe.count("projectSet"), 2, 10000);
        QCOMPARE(scenes->getPropertyValue(scenes->getSelectSceneId(), RCKeys::Name()).toString(),
                 QStringLiteral("Asked"));
        // The whole command reaches the download view, with the "uid" the link added.
        QVERIFY(probe.spy("projectSet").at(1).at(1).toJsonObject().contains("uid"));
    }

private:
    std::unique_ptr<TemporaryHome> m_home;
    std::unique_ptr<QQmlEngine> m_engine;
    std::unique_ptr<RCProject> m_project;
};

QTEST_MAIN(tst_ProjectMirror)
#include "tst_ProjectMirror.moc"
