// The project root and its control link: creation, the connection-state reactions, the settings
// that steer the link, and shutdown. Runs in a network namespace of its own (see the folder's
// CMakeLists.txt); discovery is pointed at a stand-in media server on loopback. Receiving a packet
// into the project is the Quick test of the download view's business.
#include "model/RCKeys.h"
#include "network/PacketServer.h"
#include "network/PacketTerminal.h"
#include "network/Terminal.h"
#include "project/IRCSetting.h"
#include "project/RCLogFile.h"
#include "project/RCProject.h"
#include "project/TemporaryHome.h"
#include "project/TestPackets.h"
#include "root/RCProjectRoot.h"
#include "support/IsolatedNetwork.h"
#include "support/ProcessThreads.h"
#include "tools/mediaserver-standin/MediaServerStandin.h"

#include <QJsonDocument>
#include <QQmlEngine>
#include <QSignalSpy>
#include <QTest>

#include <memory>
#include <optional>

using namespace Qt::StringLiterals;

class TestProjectTerminal : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY_INSIDE_PRIVATE_NETWORK();
        m_logHome.emplace();
        RCLogFile::initLogFile();
    }
    void init()
    {
        m_logStart = QFileInfo(RCLogFile::logFilePath()).size();
        m_home = std::make_unique<TemporaryHome>();
        QVERIFY(m_home->isValid());
        m_engine = std::make_unique<QQmlEngine>();
    }
    void cleanup()
    {
        m_engine.reset();
        m_home.reset();
    }

    // Construction gives a running control link owned by the project; deleting the project stops
    // it, reports the link as down and leaves no worker thread behind.
    void linkLivesAndDiesWithTheProject()
    {
        // A first project lets the framework start the threads it keeps for the process.
        delete new RCProjectRoot(m_engine.get(), {u"Tavix"_s});
        const int threadsBefore = runningThreads();
        m_logStart = QFileInfo(RCLogFile::logFilePath()).size();
        auto* project = new RCProjectRoot(m_engine.get(), {u"Tavix"_s});
        IRCTerminal* terminal = project->getTerminal();
        QVERIFY(terminal);
        QCOMPARE(QQmlEngine::objectOwnership(terminal), QQmlEngine::CppOwnership);
        // Both sides of project distribution exist from the start, kept by C++; only the panel
        // side runs.
        auto* server = qobject_cast<PacketServer*>(project->getPacketServer());
        QVERIFY(server && qobject_cast<PacketTerminal*>(project->getPacketTerminal()));
        QCOMPARE(QQmlEngine::objectOwnership(server), QQmlEngine::CppOwnership);
        QCOMPARE(QQmlEngine::objectOwnership(project->getPacketTerminal()), QQmlEngine::CppOwnership);
        QCOMPARE(server->serverPort(), 0);
        QVERIFY(!project->isConnectFromHost());
        QVERIFY(terminal->getEnableIp().isEmpty());
        QVERIFY(runningThreads() > threadsBefore);

        emit project->connectToHost(u"127.0.0.1"_s);
        QVERIFY(project->isConnectFromHost());
        delete project;
        QVERIFY(logged(u"Terminal socket disconnect."_s));
        // A finished worker leaves the task list a moment after wait() returned, and a framework
        // thread may end meanwhile; none of the project's may stay.
        QTRY_VERIFY_WITH_TIMEOUT(runningThreads() <= threadsBefore, 5000);
    }

    // The project finds a stand-in media server and says so, and clears its connected mark when
    // the link drops; "DefaultIp" becomes the only address discovery accepts, another key leaves
    // it. (The password handshake and the mark's coming are the mirror link test's.)
    void linkFollowsTheServerAndTheSettings()
    {
        MediaServerStandin server(standinOptions());
        QVERIFY(server.start());
        RCProjectRoot project(m_engine.get(), {u"Tavix"_s});
        auto* terminal = qobject_cast<Terminal*>(project.getTerminal());
        terminal->setDiscoveryTarget(QHostAddress::LocalHost, server.discoveryPort());
        QSignalSpy up(terminal, &IRCTerminal::socketConnected);
        QVERIFY(up.wait(10000));
        QVERIFY(logged(u"Terminal find server, socket connect."_s));
        emit project.connectToHost(up.first().first().toString());
        QVERIFY(project.isConnectFromHost());
        QSignalSpy down(terminal, &IRCTerminal::socketDisconnected);
        server.dropClients();
        QVERIFY(down.wait(10000));
        QVERIFY(!project.isConnectFromHost());

        project.getSetting()->setValue(RCKeys::DefaultIp(), u"127.0.0.1"_s);
        QCOMPARE(terminal->getEnableIp(), u"127.0.0.1"_s);
        project.getSetting()->setValue(RCKeys::ProjectJoinUid(), u"x"_s);
        QCOMPARE(terminal->getEnableIp(), u"127.0.0.1"_s);
    }

    // The stored "DefaultIp" filters discovery from start-up on, and again once a packet has loaded;
    // a failed load leaves the filter alone.
    void storedAddressAppliesFromStartAndAfterLoad()
    {
        QVERIFY(writeTestFile(m_home->appDir() + u"/config.json"_s,
                              QJsonDocument(QJsonObject{{RCKeys::DefaultIp(), u"127.0.0.9"_s}}).toJson()));

        RCProjectRoot project(m_engine.get(), {u"Tavix"_s});
        IRCTerminal* terminal = project.getTerminal();
        QCOMPARE(terminal->getEnableIp(), u"127.0.0.9"_s);
        terminal->resetLink(QString());

        QVERIFY(!project.loadProjectPacket(m_home->filePath(u"missing"_s)));
        QVERIFY(terminal->getEnableIp().isEmpty());

        const QString packet = m_home->filePath(u"packet"_s);
        QVERIFY(writeTestFile(packet + u"/project.tavx"_s, projectFileText(u"S"_s)));
        QVERIFY(project.loadProjectPacket(packet));
        QCOMPARE(terminal->getEnableIp(), u"127.0.0.9"_s);
    }

private:
    // Whether the log file received `text` since the test began.
    bool logged(const QString& text) const
    {
        return readFile(RCLogFile::logFilePath()).mid(m_logStart).contains(text.toUtf8());
    }

    static StandinOptions standinOptions()
    {
        StandinOptions options;
        options.bindAddress = QHostAddress::LocalHost;
        options.discoveryPort = 0;
        options.tcpPort = 0;
        return options;
    }

    std::optional<TemporaryHome> m_logHome; // for the whole run, as the log file
    qint64 m_logStart = 0;
    std::unique_ptr<TemporaryHome> m_home;
    std::unique_ptr<QQmlEngine> m_engine;
};

QTEST_MAIN(TestProjectTerminal)
#include "tst_ProjectTerminal.moc"
