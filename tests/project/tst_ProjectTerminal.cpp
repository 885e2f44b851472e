// The project root and its control link: creation, the connection-state reactions, the settings
// that steer the link, and shutdown. Runs in a network namespace of its own (see the folder's
// CMakeLists.txt); discovery is pointed at a stand-in media server on loopback.
// Also project distribution: a received packet loads as the project (the namespace leaves the
// fixed ports free).
#include "editing/RCScenePresenter.h"
#include "model/RCKeys.h"
#include "network/PacketServer.h"
#include "network/PacketTerminal.h"
#include "network/Terminal.h"
#include "project/IRCSetting.h"
#include "project/RCLogFile.h"
#include "project/RCProject.h"
#include "project/TemporaryHome.h"
#include "project/TestPackets.h"
#include "support/IsolatedNetwork.h"
#include "support/PacketPeers.h"
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
        QString reason;
        if (!insidePrivateNetwork(&reason))
            QFAIL(qPrintable(reason));
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
        delete new RCProject(m_engine.get(), {u"Tavix"_s});
        const int threadsBefore = runningThreads();
        m_logStart = QFileInfo(RCLogFile::logFilePath()).size();
        auto* project = new RCProject(m_engine.get(), {u"Tavix"_s});
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

    // The project finds a stand-in media server, reports the link, marks itself connected only on
    // the server's confirmation, and clears the mark when the link drops.
    void connectionStateFollowsTheLink()
    {
        // Asking for a password, the server holds its "connected" back: the link comes up while the
        // project is not connected yet.
        StandinOptions options = standinOptions();
        options.password = u"pw"_s;
        MediaServerStandin server(options);
        QString error;
        QVERIFY2(server.start(&error), qPrintable(error));

        RCProject project(m_engine.get(), {u"Tavix"_s});
        auto* terminal = qobject_cast<Terminal*>(project.getTerminal());
        QVERIFY(terminal);
        terminal->setDiscoveryTarget(QHostAddress::LocalHost, server.discoveryPort());

        QSignalSpy up(terminal, &IRCTerminal::socketConnected);
        QVERIFY(up.wait(10000));
        QVERIFY(logged(u"Terminal find server, socket connect."_s));
        QVERIFY(!project.isConnectFromHost());

        emit project.connectToHost(up.first().first().toString());
        QVERIFY(project.isConnectFromHost());
        QVERIFY(logged(u"Terminal project connected to server success."_s));

        emit project.connectVerifyAsk();
        emit project.connectPasswordError();
        QVERIFY(logged(u"Terminal project connecting to server with password verify."_s));
        QVERIFY(logged(u"Failed terminal connect to server with error password."_s));

        QSignalSpy down(terminal, &IRCTerminal::socketDisconnected);
        server.dropClients();
        QVERIFY(down.wait(10000));
        QVERIFY(!project.isConnectFromHost());
    }

    // "DefaultPassword" goes to the server as "connectVerify"; "DefaultIp" becomes the only address
    // discovery accepts; another key does neither.
    void settingsSteerTheLink()
    {
        MediaServerStandin server(standinOptions());
        QVERIFY(server.start());
        RCProject project(m_engine.get(), {u"Tavix"_s});
        auto* terminal = qobject_cast<Terminal*>(project.getTerminal());
        terminal->setDiscoveryTarget(QHostAddress::LocalHost, server.discoveryPort());
        QSignalSpy up(terminal, &IRCTerminal::socketConnected);
        QVERIFY(up.wait(10000));

        // The mirror's own requests after "connected" may come first.
        QSignalSpy received(&server, &MediaServerStandin::commandReceived);
        project.getSetting()->setValue(RCKeys::DefaultPassword(), u"s3cret"_s);
        const auto verified = [&received] {
            for (const QList<QVariant>& command : received) {
                if (command.at(0).toString() == u"connectVerify"_s)
                    return command.at(1).toJsonObject().value(u"password"_s).toString();
            }
            return QString();
        };
        QTRY_COMPARE_WITH_TIMEOUT(verified(), u"s3cret"_s, 10000);

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

        RCProject project(m_engine.get(), {u"Tavix"_s});
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

    // A designer's invitation on the fixed port reaches the project's panel side; the received
    // packet fills the download folder and opens as the project.
    void receivedPacketLoads()
    {
        RCProject project(m_engine.get(), {u"Tavix"_s});
        const QString source = m_home->filePath(u"source"_s);
        QVERIFY(writeTestFile(source + u"/project.tavx"_s, projectFileText(u"Received"_s)));
        QVERIFY(writeTestFile(source + u"/image/x.png"_s, QByteArray(1500, 'x')));

        IRCPacketTerminal* panel = project.getPacketTerminal();
        QSignalSpy invited(panel, &IRCPacketTerminal::receiveDownloadInvitation);
        QSignalSpy complete(panel, &IRCPacketTerminal::receiveComplate);
        ScriptedDesigner designer;
        QVERIFY(designer.invite(PacketTerminal::kInvitationPort));
        designer.sendCmd(u"downloadKey"_s, {{u"value"_s, u"{k}"_s}});
        QVERIFY(invited.wait(5000));
        panel->download();
        QTRY_VERIFY(designer.hasReceived(u"download"_s));
        const qint64 total = QFileInfo(source + u"/project.tavx"_s).size() + 1500;
        designer.sendCmd(u"issueBegin"_s, {{u"totalSize"_s, QString::number(total)}});
        QVERIFY(designer.sendFile(source + u"/image/x.png"_s, u"image/x.png"_s));
        QVERIFY(designer.sendFile(source + u"/project.tavx"_s, u"project.tavx"_s));
        designer.sendCmd(u"issueComlate"_s);
        QVERIFY(complete.wait(5000));

        QVERIFY(project.loadDownloadProjectPacket());
        QCOMPARE(project.getProjectPacketPath(), project.getDownloadPath());
        RCScenePresenter* scenes = RCScenePresenter::instance();
        QCOMPARE(scenes->getSceneCount(), 1);
        QCOMPARE(scenes->getPropertyValue(scenes->getSceneId(0), RCKeys::Name()).toString(), u"Received"_s);
        QVERIFY(QFileInfo(project.getDownloadPath() + u"/image/x.png"_s).isFile());
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
