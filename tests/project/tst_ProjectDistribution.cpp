// The project root and project distribution: the two sides exist as services, QML sees them, the
// panel side listens from the start and what it receives loads as the open project. Runs in a
// network namespace of its own (see the folder's CMakeLists.txt), so the fixed ports are free.
#include "editing/RCScenePresenter.h"
#include "model/RCKeys.h"
#include "network/PacketServer.h"
#include "network/PacketTerminal.h"
#include "project/RCProject.h"
#include "project/TemporaryHome.h"
#include "project/TestPackets.h"
#include "support/IsolatedNetwork.h"
#include "support/ScriptedDesigner.h"

#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QSignalSpy>
#include <QTest>

#include <memory>

class TestProjectDistribution : public QObject
{
    Q_OBJECT

private Q_SLOTS:
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
        m_project = std::make_unique<RCProject>(m_engine.get(), QStringList{QStringLiteral("Tavix")});
        m_engine->rootContext()->setContextProperty(QStringLiteral("project"), m_project.get());
    }
    void cleanup()
    {
        m_project.reset();
        m_engine.reset();
        m_home.reset();
    }

    // Both sides exist from the start, owned by the project; only the panel side runs.
    void servicesSeenFromQml()
    {
        auto* server = qobject_cast<PacketServer*>(m_project->getPacketServer());
        QVERIFY(server);
        QVERIFY(qobject_cast<PacketTerminal*>(m_project->getPacketTerminal()));
        QCOMPARE(QQmlEngine::objectOwnership(server), QQmlEngine::CppOwnership);
        QCOMPARE(QQmlEngine::objectOwnership(m_project->getPacketTerminal()), QQmlEngine::CppOwnership);
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
        QCOMPARE(probe->property("server").value<QObject*>(), m_project->getPacketServer());
        QCOMPARE(probe->property("terminal").value<QObject*>(), m_project->getPacketTerminal());
        QVERIFY(probe->property("lastIssue").toString().isEmpty());
    }

    // A designer's invitation on the fixed port reaches the project's panel side; the received
    // packet fills the download folder and opens as the project.
    void receivedPacketLoads()
    {
        const QString source = m_home->filePath(QStringLiteral("source"));
        QVERIFY(writeTestFile(source + QStringLiteral("/project.tavx"),
                              projectFileText(QStringLiteral("Received"))));
        QVERIFY(writeTestFile(source + QStringLiteral("/image/x.png"), QByteArray(1500, 'x')));

        IRCPacketTerminal* panel = m_project->getPacketTerminal();
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

        QVERIFY(m_project->loadDownloadProjectPacket());
        QCOMPARE(m_project->getProjectPacketPath(), m_project->getDownloadPath());
        RCScenePresenter* scenes = RCScenePresenter::instance();
        QCOMPARE(scenes->getSceneCount(), 1);
        QCOMPARE(scenes->getPropertyValue(scenes->getSceneId(0), RCKeys::Name()).toString(),
                 QStringLiteral("Received"));
        QVERIFY(QFileInfo(m_project->getDownloadPath() + QStringLiteral("/image/x.png")).isFile());
    }

private:
    std::unique_ptr<TemporaryHome> m_home;
    std::unique_ptr<QQmlEngine> m_engine;
    std::unique_ptr<RCProject> m_project;
};

QTEST_MAIN(TestProjectDistribution)
#include "tst_ProjectDistribution.moc"
