// The project root and its control link: creation, the connection-state reactions, the settings
// that steer the link, and shutdown. Runs in a network namespace of its own (see the folder's
// CMakeLists.txt); discovery is pointed at a stand-in media server on loopback.
// Also project distribution: both sides as QML sees them, and a received packet loading as the
// project (the namespace leaves the fixed ports free).
#include "editing/RCScenePresenter.h"
#include "model/RCKeys.h"
#include "network/PacketServer.h"
#include "network/PacketTerminal.h"
#include "network/Terminal.h"
#include "project/IRCSetting.h"
#include "project/RCProject.h"
#include "project/TemporaryHome.h"
#include "support/IsolatedNetwork.h"
#include "project/TestPackets.h"
#include "support/PacketPeers.h"
#include "tools/mediaserver-standin/MediaServerStandin.h"
#include "support/ProcessThreads.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <memory>

namespace {

// Collects the messages of the "rc.project" category while it exists.
class LogCapture
{
public:
    LogCapture()
    {
        s_lines.clear();
        s_previous = qInstallMessageHandler(&LogCapture::handler);
    }
    ~LogCapture() { qInstallMessageHandler(s_previous); }
    static bool contains(const QString& text)
    {
        for (const QString& line : std::as_const(s_lines))
            if (line.contains(text))
                return true;
        return false;
    }

private:
    static void handler(QtMsgType type, const QMessageLogContext& context, const QString& message)
    {
        if (qstrcmp(context.category, "rc.project") == 0)
            s_lines.append(message);
        if (s_previous)
            s_previous(type, context, message);
    }
    static inline QStringList s_lines;
    static inline QtMessageHandler s_previous = nullptr;
};

} // namespace

class TestProjectTerminal : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QString reason;
        if (!insidePrivateNetwork(&reason))
            QFAIL(qPrintable(reason));
    }
    void init()
    {
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
        delete new RCProject(m_engine.get(), {QStringLiteral("Tavix")});
        const int threadsBefore = runningThreads();
        LogCapture log;
        auto* project = new RCProject(m_engine.get(), {QStringLiteral("Tavix")});
        IRCTerminal* terminal = project->getTerminal();
        QVERIFY(terminal);
        QCOMPARE(QQmlEngine::objectOwnership(terminal), QQmlEngine::CppOwnership);
        QVERIFY(!project->isConnectFromHost());
        QVERIFY(terminal->getEnableIp().isEmpty());
        QVERIFY(runningThreads() > threadsBefore);

        emit project->connectToHost(QStringLiteral("127.0.0.1"));
        QVERIFY(project->isConnectFromHost());
        delete project;
        QVERIFY(LogCapture::contains(QStringLiteral("Terminal socket disconnect.")));
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
        options.password = QStringLiteral("pw");
        MediaServerStandin server(options);
        QString error;
        QVERIFY2(server.start(&error), qPrintable(error));

        LogCapture log;
        RCProject project(m_engine.get(), {QStringLiteral("Tavix")});
        auto* terminal = qobject_cast<Terminal*>(project.getTerminal());
        QVERIFY(terminal);
        terminal->setDiscoveryTarget(QHostAddress::LocalHost, server.discoveryPort());

        QSignalSpy up(terminal, &IRCTerminal::socketConnected);
        QVERIFY(up.wait(10000));
        QVERIFY(LogCapture::contains(QStringLiteral("Terminal find server, socket connect.")));
        QVERIFY(!project.isConnectFromHost());

        emit project.connectToHost(up.first().first().toString());
        QVERIFY(project.isConnectFromHost());
        QVERIFY(LogCapture::contains(QStringLiteral("Terminal project connected to server success.")));

        emit project.connectVerifyAsk();
        emit project.connectPasswordError();
        QVERIFY(LogCapture::contains(
            QStringLiteral("Terminal project connecting to server with password verify.")));
        QVERIFY(
            LogCapture::contains(QStringLiteral("Failed terminal connect to server with error password.")));

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
        RCProject project(m_engine.get(), {QStringLiteral("Tavix")});
        auto* terminal = qobject_cast<Terminal*>(project.getTerminal());
        terminal->setDiscoveryTarget(QHostAddress::LocalHost, server.discoveryPort());
        QSignalSpy up(terminal, &IRCTerminal::socketConnected);
        QVERIFY(up.wait(10000));

        // The mirror's own requests after "connected" may come first.
        QSignalSpy received(&server, &MediaServerStandin::commandReceived);
        project.getSetting()->setValue(RCKeys::DefaultPassword(), QStringLiteral("s3cret"));
        const auto verified = [&received] {
            for (const QList<QVariant>& command : received) {
                if (command.at(0).toString() == QStringLiteral("connectVerify"))
                    return command.at(1).toJsonObject().value(QStringLiteral("password")).toString();
            }
            return QString();
        };
        QTRY_COMPARE_WITH_TIMEOUT(verified(), QStringLiteral("s3cret"), 10000);

        project.getSetting()->setValue(RCKeys::DefaultIp(), QStringLiteral("127.0.0.1"));
        QCOMPARE(terminal->getEnableIp(), QStringLiteral("127.0.0.1"));
        project.getSetting()->setValue(RCKeys::ProjectJoinUid(), QStringLiteral("x"));
        QCOMPARE(terminal->getEnableIp(), QStringLiteral("127.0.0.1"));
    }

    // The stored "DefaultIp" filters discovery from start-up on, and again once a packet has loaded;
    // a failed load leaves the filter alone.
    void storedAddressAppliesFromStartAndAfterLoad()
    {
        QVERIFY(writeTestFile(
            m_home->appDir() + QStringLiteral("/config.json"),
            QJsonDocument(QJsonObject{{RCKeys::DefaultIp(), QStringLiteral("127.0.0.9")}}).toJson()));

        RCProject project(m_engine.get(), {QStringLiteral("Tavix")});
        IRCTerminal* terminal = project.getTerminal();
        QCOMPARE(terminal->getEnableIp(), QStringLiteral("127.0.0.9"));
        terminal->resetLink(QString());

        QVERIFY(!project.loadProjectPacket(m_home->filePath(QStringLiteral("missing"))));
        QVERIFY(terminal->getEnableIp().isEmpty());

        const QString packet = m_home->filePath(QStringLiteral("packet"));
        QVERIFY(
            writeTestFile(packet + QStringLiteral("/project.tavx"), projectFileText(QStringLiteral("S"))));
        QVERIFY(project.loadProjectPacket(packet));
        QCOMPARE(terminal->getEnableIp(), QStringLiteral("127.0.0.9"));
    }

    // Both sides exist from the start, owned by the project; only the panel side runs.
    void distributionServicesSeenFromQml()
    {
        RCProject project(m_engine.get(), {QStringLiteral("Tavix")});
        m_engine->rootContext()->setContextProperty(QStringLiteral("project"), &project);
        auto* server = qobject_cast<PacketServer*>(project.getPacketServer());
        QVERIFY(server);
        QVERIFY(qobject_cast<PacketTerminal*>(project.getPacketTerminal()));
        QCOMPARE(QQmlEngine::objectOwnership(server), QQmlEngine::CppOwnership);
        QCOMPARE(QQmlEngine::objectOwnership(project.getPacketTerminal()), QQmlEngine::CppOwnership);
        QCOMPARE(server->serverPort(), 0);

        QQmlComponent component(m_engine.get());
        component.setData(R"(
            import QtQml
            import Rc.IRCPacketServer 1.0
            import Rc.IRCPacketTerminal 1.0
            QtObject {
                property IRCPacketServer server: project.getPacketServer()
                property IRCPacketTerminal terminal: project.getPacketTerminal()
                property string lastIssue: server.getOldIssuIp()
            }
        )",
                          QUrl(QStringLiteral("qrc:/probe.qml")));
        std::unique_ptr<QObject> probe(component.create());
        QVERIFY2(probe, qPrintable(component.errorString()));
        QCOMPARE(probe->property("server").value<QObject*>(), project.getPacketServer());
        QCOMPARE(probe->property("terminal").value<QObject*>(), project.getPacketTerminal());
        QVERIFY(probe->property("lastIssue").toString().isEmpty());
    }

    // A designer's invitation on the fixed port reaches the project's panel side; the received
    // packet fills the download folder and opens as the project.
    void receivedPacketLoads()
    {
        RCProject project(m_engine.get(), {QStringLiteral("Tavix")});
        const QString source = m_home->filePath(QStringLiteral("source"));
        QVERIFY(writeTestFile(source + QStringLiteral("/project.tavx"),
                              projectFileText(QStringLiteral("Received"))));
        QVERIFY(writeTestFile(source + QStringLiteral("/image/x.png"), QByteArray(1500, 'x')));

        IRCPacketTerminal* panel = project.getPacketTerminal();
        QSignalSpy invited(panel, &IRCPacketTerminal::receiveDownloadInvitation);
        QSignalSpy complete(panel, &IRCPacketTerminal::receiveComplate);
        ScriptedDesigner designer;
        QVERIFY(designer.invite(PacketTerminal::kInvitationPort));
        designer.sendCmd(QStringLiteral("downloadKey"), {{QStringLiteral("value"), QStringLiteral("{k}")}});
        QVERIFY(invited.wait(5000));
        panel->download();
        QTRY_VERIFY(designer.hasReceived(QStringLiteral("download")));
        const qint64 total = QFileInfo(source + QStringLiteral("/project.tavx")).size() + 1500;
        designer.sendCmd(QStringLiteral("issueBegin"),
                         {{QStringLiteral("totalSize"), QString::number(total)}});
        QVERIFY(designer.sendFile(source + QStringLiteral("/image/x.png"), QStringLiteral("image/x.png")));
        QVERIFY(designer.sendFile(source + QStringLiteral("/project.tavx"), QStringLiteral("project.tavx")));
        designer.sendCmd(QStringLiteral("issueComlate"));
        QVERIFY(complete.wait(5000));

        QVERIFY(project.loadDownloadProjectPacket());
        QCOMPARE(project.getProjectPacketPath(), project.getDownloadPath());
        RCScenePresenter* scenes = RCScenePresenter::instance();
        QCOMPARE(scenes->getSceneCount(), 1);
        QCOMPARE(scenes->getPropertyValue(scenes->getSceneId(0), RCKeys::Name()).toString(),
                 QStringLiteral("Received"));
        QVERIFY(QFileInfo(project.getDownloadPath() + QStringLiteral("/image/x.png")).isFile());
    }

private:
    static StandinOptions standinOptions()
    {
        StandinOptions options;
        options.bindAddress = QHostAddress::LocalHost;
        options.discoveryPort = 0;
        options.tcpPort = 0;
        return options;
    }

    std::unique_ptr<TemporaryHome> m_home;
    std::unique_ptr<QQmlEngine> m_engine;
};

QTEST_MAIN(TestProjectTerminal)
#include "tst_ProjectTerminal.moc"
