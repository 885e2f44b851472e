// The designer side of project distribution against a panel scripted on loopback: invitation,
// offer, the walk of the packet folder, progress, addresses, refusals, stops and the bounds.
#include "network/PacketServer.h"
#include "network/PacketTerminalManagerServer.h"
#include "network/RequestManager.h"
#include "support/FileTree.h"
#include "support/PacketPeers.h"
#include "support/SpyWaits.h"

#include <QDir>
#include <QFile>
#include <QNetworkDatagram>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QUdpSocket>

#include <memory>

class TestPacketServer : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void invitesOffersAndSendsThePacket();
    void refusedIssues_data();
    void refusedIssues();
    void addressesAreComparedWhole();
    void timeoutReportsOnceAndIssueStillWaits();
    void answersDiscoveryRequests();
    void stopAndChangedFileEndTheIssue();
    void connectionsAreCapped();

private:
    bool connectPanel(ScriptedPanel& panel, const QString& from = QStringLiteral("127.0.0.1"));

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<PacketServer> m_server;
    std::unique_ptr<ScriptedPanel> m_panel;
    QString m_packet;
    int m_detectPort = 0;
};

void TestPacketServer::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_packet = m_dir->filePath("packet");
    QVERIFY(writeFile(m_packet + "/image/b.png", QByteArray(2500, 'b')));
    QVERIFY(writeFile(m_packet + "/image/a.png", QByteArray(10, 'a')));
    QVERIFY(writeFile(m_packet + "/project.tavx", "{}"));
    QVERIFY(writeFile(m_packet + "/thumbnail.png", QByteArray()));
    QVERIFY(writeFile(m_packet + "/.hidden", "h"));
    QVERIFY(writeFile(m_packet + "/readonly.txt", "r"));
    QVERIFY(QFile::setPermissions(m_packet + "/readonly.txt", QFile::ReadOwner));
    // Links are not followed, inside the packet or out of it.
    QVERIFY(writeFile(m_dir->filePath("outside/secret.txt"), "secret"));
    QVERIFY(QFile::link(m_dir->filePath("outside/secret.txt"), m_packet + "/link.txt"));
    QVERIFY(QFile::link(m_dir->filePath("outside"), m_packet + "/linkdir"));

    m_panel = std::make_unique<ScriptedPanel>();
    m_detectPort = freeUdpPort();
    m_server = std::make_unique<PacketServer>();
    m_server->setPorts(m_detectPort, 0, m_panel->invitationPort());
    m_server->startServer();
    QVERIFY(m_server->serverPort() > 0);
}

void TestPacketServer::cleanup()
{
    m_server.reset();
    m_panel.reset();
    m_dir.reset();
}

bool TestPacketServer::connectPanel(ScriptedPanel& panel, const QString& from)
{
    QSignalSpy success(m_server.get(), &IRCPacketServer::connectSuccess);
    return panel.connectTo(m_server->serverPort(), from) && success.wait(5000) &&
           success.first().first().toString() == from;
}

void TestPacketServer::invitesOffersAndSendsThePacket()
{
    QSignalSpy invitation(&m_panel->invitations, &IRCRequestManager::cmdReceive);
    QSignalSpy begin(m_server.get(), &IRCPacketServer::issueBegin);
    QSignalSpy progress(m_server.get(), &IRCPacketServer::issueProcessing);
    QSignalSpy complete(m_server.get(), &IRCPacketServer::issueComplate);
    m_server->issue("127.0.0.1", m_packet);
    QCOMPARE(m_server->getOldIssuIp(), QString("127.0.0.1"));
    QVERIFY(invitation.wait(5000));
    QCOMPARE(invitation.first().at(0).toString(), QString("serverConfig"));
    QCOMPARE(invitation.first().at(1).toJsonObject().value("port").toInt(), m_server->serverPort());

    // The listener reads the panel as ::ffff:127.0.0.1; it is named, and found, as 127.0.0.1.
    QVERIFY(connectPanel(*m_panel));
    QTRY_VERIFY(!m_panel->key.isEmpty());
    QVERIFY(QUuid::fromString(m_panel->key).toString(QUuid::WithBraces) == m_panel->key);
    QVERIFY(m_server->enableIssue("127.0.0.1"));

    // A second "download" while issuing is ignored.
    m_panel->send("download");
    m_panel->send("download");
    QVERIFY(complete.wait(10000));
    QCOMPARE(begin.size(), 1);
    QCOMPARE(begin.first().first().toString(), QString("127.0.0.1"));
    QTRY_COMPARE(m_panel->count("issueComlate"), 1);
    QCOMPARE(m_panel->count("issueBegin"), 1);
    QCOMPARE(m_panel->files, QStringList({".hidden", "image/a.png", "image/b.png", "project.tavx",
                                          "readonly.txt", "thumbnail.png"}));
    QCOMPARE(m_panel->totalSize, QString::number(1 + 10 + 2500 + 2 + 1));
    QCOMPARE(m_panel->contents.at(2), QByteArray(2500, 'b'));
    QCOMPARE(m_panel->absolutePaths.at(1), QFileInfo(m_packet + "/image/a.png").absoluteFilePath());
    QVERIFY(progressRisesToOne(progress, 1));

    // After completion the same connection takes the next issue at once: no invitation.
    QVERIFY(m_server->enableIssue("::ffff:127.0.0.1"));
    m_panel->clear();
    invitation.clear();
    m_server->issue("127.0.0.1", m_packet);
    QTRY_VERIFY(!m_panel->key.isEmpty());
    m_panel->send("download");
    QTRY_COMPARE(m_panel->count("issueComlate"), 1);
    QCOMPARE(complete.size(), 2);
    QCOMPARE(m_panel->files.size(), 6);
    QVERIFY(invitation.isEmpty());

    QSignalSpy broken(m_server.get(), &IRCPacketServer::connectBreak);
    m_panel->socket->abort();
    QVERIFY(broken.wait(5000));
    QCOMPARE(broken.first().first().toString(), QString("127.0.0.1"));
    QVERIFY(!m_server->enableIssue("127.0.0.1"));
}

void TestPacketServer::refusedIssues_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("namesFolder"); // else the error names no file
    QTest::newRow("no address") << QString() << QString("packet") << false;
    QTest::newRow("not an address") << QString("300.1.2.3") << QString("packet") << false;
    QTest::newRow("host name") << QString("panel.local") << QString("packet") << false;
    QTest::newRow("missing folder") << QString("127.0.0.1") << QString("missing") << true;
    QTest::newRow("empty folder") << QString("127.0.0.1") << QString("empty") << true;
    QTest::newRow("only links") << QString("127.0.0.1") << QString("links") << true;
}

// Refused at once with issueError: nothing is invited, nothing waits.
void TestPacketServer::refusedIssues()
{
    QFETCH(QString, address);
    QFETCH(QString, folder);
    QFETCH(bool, namesFolder);
    QVERIFY(QDir().mkpath(m_dir->filePath("empty")));
    QVERIFY(QDir().mkpath(m_dir->filePath("links")));
    QVERIFY(QFile::link(m_packet + "/project.tavx", m_dir->filePath("links/project.tavx")));
    QSignalSpy errors(m_server.get(), &IRCPacketServer::issueError);
    QSignalSpy invitation(&m_panel->invitations, &IRCRequestManager::cmdReceive);
    m_server->issue(address, m_dir->filePath(folder));
    QCOMPARE(errors.size(), 1);
    QCOMPARE(errors.first().at(1).toString(), namesFolder ? m_dir->filePath(folder) : QString());
    QVERIFY(!invitation.wait(300));

    // A panel of that address that connects later is offered nothing.
    QVERIFY(connectPanel(*m_panel));
    QVERIFY(!QTest::qWaitFor([&] { return !m_panel->key.isEmpty(); }, 300));
}

// Pending issues for 127.0.0.1 and 127.0.0.10: each goes to the panel of its own address only;
// "download" before an offer on that connection starts nothing.
void TestPacketServer::addressesAreComparedWhole()
{
    const QString other = m_dir->filePath("other");
    QVERIFY(writeFile(other + "/project.tavx", "other"));
    m_server->issue("127.0.0.1", m_packet);
    m_server->issue("127.0.0.10", other);

    ScriptedPanel tenth;
    QVERIFY(connectPanel(tenth, "127.0.0.10"));
    QTRY_VERIFY(!tenth.key.isEmpty());
    tenth.send("download");
    QTRY_COMPARE(tenth.count("issueComlate"), 1);
    QCOMPARE(tenth.files, QStringList("project.tavx"));
    QCOMPARE(tenth.contents.first(), QByteArray("other"));

    ScriptedPanel unoffered;
    m_server->issue("127.0.0.3", m_packet);
    QVERIFY(connectPanel(unoffered, "127.0.0.2"));
    unoffered.send("download");
    QVERIFY(!QTest::qWaitFor([&] { return !unoffered.commands.isEmpty(); }, 300));

    QVERIFY(connectPanel(*m_panel));
    QTRY_VERIFY(!m_panel->key.isEmpty());
    m_panel->send("download");
    QTRY_COMPARE(m_panel->count("issueComlate"), 1);
    QCOMPARE(m_panel->files.size(), 6);
}

// Three issues to one silent address: three invitations, one timeout carrying the address as
// given and logged; the issue still waits for that panel.
void TestPacketServer::timeoutReportsOnceAndIssueStillWaits()
{
    QSignalSpy invitation(&m_panel->invitations, &IRCRequestManager::cmdReceive);
    QSignalSpy timeout(m_server.get(), &IRCPacketServer::connectTimeout);
    QTest::ignoreMessage(QtInfoMsg, QRegularExpression("install on \"127.0.0.1\" failed, no panel answered"));
    for (int i = 0; i < 3; ++i)
        m_server->issue(" 127.0.0.1", m_packet);
    QVERIFY(timeout.wait(PacketServer::kInvitationTimeoutMs + 3000));
    QCOMPARE(invitation.size(), 3);
    QVERIFY(!timeout.wait(500));
    QCOMPARE(timeout.size(), 1);
    QCOMPARE(timeout.first().first().toString(), QString(" 127.0.0.1"));

    QVERIFY(connectPanel(*m_panel));
    QTRY_VERIFY(!m_panel->key.isEmpty());
}

// "requestServerConfig" is answered at its "ip" (else the sender) and "port" with the designer's
// address and TCP port; one naming no usable port gets no answer.
void TestPacketServer::answersDiscoveryRequests()
{
    QSignalSpy answers(&m_panel->invitations, &IRCRequestManager::cmdReceive);
    RequestManager framer;
    QUdpSocket udp;
    connect(&framer, &IRCRequestManager::buffRadioRequest, this,
            [&udp](const QByteArray& buff, const QHostAddress& to, int port) {
                udp.writeDatagram(buff, to, quint16(port));
            });
    // The worker binds its port in its own thread: ask until it answers.
    const QJsonObject atSender{{"port", m_panel->invitationPort()}};
    QVERIFY(QTest::qWaitFor(
        [&] {
            framer.sendRadioCmd("requestServerConfig", atSender, QHostAddress::LocalHost, m_detectPort);
            return answers.wait(100);
        },
        5000));
    answers.wait(300); // answers to earlier tries still on their way
    answers.clear();
    const QList<QJsonObject> requests{{{"port", 0}},
                                      {{"ip", "127.0.0.1"}, {"port", 70000}},
                                      {{"ip", "no address"}, {"port", m_panel->invitationPort()}},
                                      atSender,
                                      {{"ip", "127.0.0.1"}, {"port", m_panel->invitationPort()}}};
    for (const QJsonObject& request : requests)
        framer.sendRadioCmd("requestServerConfig", request, QHostAddress::LocalHost, m_detectPort);
    QTRY_COMPARE(answers.size(), 2);
    QVERIFY(!answers.wait(300));
    const QJsonObject answer = answers.first().at(1).toJsonObject();
    QCOMPARE(answers.first().at(0).toString(), QString("serverConfig"));
    QCOMPARE(answer.value("port").toInt(), m_server->serverPort());
    QVERIFY(answer.contains("ip"));
}

// stopIssue ends a running issue with issueStop; a file that changed after the walk ends it with
// issueError naming the file. Neither is followed by "issueComlate", and a new issue works.
// Stopping the whole server from a listener ends the link.
void TestPacketServer::stopAndChangedFileEndTheIssue()
{
    QVERIFY(writeFile(m_packet + "/image/b.png", QByteArray(400 * 1024, 'b')));
    QVERIFY(connectPanel(*m_panel));
    QSignalSpy stopped(m_server.get(), &IRCPacketServer::issueStop);
    QSignalSpy errors(m_server.get(), &IRCPacketServer::issueError);
    QSignalSpy progress(m_server.get(), &IRCPacketServer::issueProcessing);

    m_server->issue("127.0.0.1", m_packet);
    QTRY_VERIFY(!m_panel->key.isEmpty());
    m_panel->send("download");
    QVERIFY(progress.wait(5000));
    m_server->stopIssue("::ffff:127.0.0.1");
    QCOMPARE(stopped.size(), 1);
    QVERIFY(m_server->enableIssue("127.0.0.1"));

    m_panel->clear();
    m_server->issue("127.0.0.1", m_packet);
    QTRY_VERIFY(!m_panel->key.isEmpty());
    m_panel->send("download");
    QTRY_VERIFY(progress.size() > 3 && m_panel->files.contains("image/b.png"));
    QVERIFY(writeFile(m_packet + "/project.tavx", "{ changed }"));
    QVERIFY(errors.wait(10000));
    QCOMPARE(errors.first().at(1).toString(), QFileInfo(m_packet + "/project.tavx").absoluteFilePath());
    QVERIFY(!QTest::qWaitFor([&] { return m_panel->count("issueComlate") > 0; }, 300));
    QVERIFY(m_server->enableIssue("127.0.0.1"));

    // A listener may stop the server from inside the issue's own signal; the link then ends.
    QVERIFY(writeFile(m_packet + "/project.tavx", "{}"));
    connect(m_server.get(), &IRCPacketServer::issueProcessing, m_server.get(), &IRCPacketServer::stopServer);
    m_panel->clear();
    m_server->issue("127.0.0.1", m_packet);
    QTRY_VERIFY(!m_panel->key.isEmpty());
    m_panel->send("download");
    QTRY_COMPARE(m_panel->socket->state(), QAbstractSocket::UnconnectedState);
    QVERIFY(!m_server->enableIssue("127.0.0.1"));
}

void TestPacketServer::connectionsAreCapped()
{
    std::vector<std::unique_ptr<QTcpSocket>> panels;
    QSignalSpy success(m_server.get(), &IRCPacketServer::connectSuccess);
    for (int i = 0; i <= PacketTerminalManagerServer::kMaxTerminals; ++i) {
        panels.push_back(std::make_unique<QTcpSocket>());
        panels.back()->connectToHost(QHostAddress::LocalHost, quint16(m_server->serverPort()));
        QVERIFY(panels.back()->waitForConnected(5000));
    }
    QTRY_COMPARE(success.size(), PacketTerminalManagerServer::kMaxTerminals);
    QTRY_COMPARE(panels.back()->state(), QAbstractSocket::UnconnectedState);

    // A place freed is a place taken again.
    QSignalSpy broken(m_server.get(), &IRCPacketServer::connectBreak);
    panels.front()->abort();
    QVERIFY(broken.wait(5000));
    QVERIFY(connectPanel(*m_panel));
}

QTEST_GUILESS_MAIN(TestPacketServer)
#include "tst_packetserver.moc"
