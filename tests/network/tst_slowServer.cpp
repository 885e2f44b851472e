// Lone media servers that are slow to answer: one that accepts the link and says nothing for a
// while, one that says "connected" at once and holds its answers (a server still loading its show),
// and one that asks for the password the user has not given yet. With no other server in play,
// the link waits for them however long they take. Discovery is pointed at the
// stand-in's own loopback port; the panel asks for the program table on "connected", as the
// project does. CTest runs this in a private network namespace.
#include "network/Terminal.h"
#include "support/IsolatedNetwork.h"
#include "support/LoopbackStandin.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>

class TestSlowServer : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void slowServerIsLinked_data();
    void slowServerIsLinked();
    void serverWaitingForThePasswordIsKept_data();
    void serverWaitingForThePasswordIsKept();
};

void TestSlowServer::slowServerIsLinked_data()
{
    QTest::addColumn<int>("firstMessageDelayMs");
    QTest::addColumn<int>("answerHoldMs");
    QTest::newRow("says nothing for 12 s") << 12000 << 0;
    QTest::newRow("holds its answers 12 s") << 0 << 12000;
}

// The program table arrives on the first link, which is never cut meanwhile.
void TestSlowServer::slowServerIsLinked()
{
    QFETCH(int, firstMessageDelayMs);
    QFETCH(int, answerHoldMs);
    QVERIFY_INSIDE_PRIVATE_NETWORK();
    StandinOptions options;
    options.firstMessageDelayMs = firstMessageDelayMs;
    options.answerHoldMs = answerHoldMs;
    auto slow = startStandin(options, QHostAddress("127.0.0.2"));
    QVERIFY(slow);
    QSignalSpy accepted(slow.get(), &MediaServerStandin::clientConnected);

    std::unique_ptr<Terminal> terminal(Terminal::create({"Tavix"}));
    QElapsedTimer clock;
    clock.start();
    qint64 tableAt = -1;
    connect(terminal.get(), &IRCTerminal::receiveCmd, this, [&](const QString& sCmd) {
        if (sCmd == QLatin1String("connected"))
            terminal->sendCmd("getProgramTable", {});
        else if (sCmd == QLatin1String("setProgramTable") && tableAt < 0)
            tableAt = clock.elapsed();
    });
    QSignalSpy disconnected(terminal.get(), &IRCTerminal::socketDisconnected);
    terminal->setDiscoveryTarget(QHostAddress("127.0.0.2"), slow->discoveryPort());
    terminal->startServer(freeUdpPort());
    QVERIFY2(QTest::qWaitFor([&] { return tableAt >= 0; }, 30000),
             qPrintable(QStringLiteral("not linked in 30 s: %1 links accepted, %2 ended")
                            .arg(accepted.size())
                            .arg(disconnected.size())));
    qInfo("program table after %lld ms", tableAt);
    QCOMPARE(accepted.size(), 1);
    QCOMPARE(disconnected.size(), 0);
}

void TestSlowServer::serverWaitingForThePasswordIsKept_data()
{
    QTest::addColumn<int>("askAgainMs");
    QTest::addColumn<int>("waitMs");
    QTest::newRow("asks once") << 0 << 12000;
    QTest::newRow("asks every 300 ms") << 300 << 3000;
}

// The server asks for a password and waits; nobody gives one for a while. It has answered: the
// link stays up, and the question is passed on once however often the server asks. Once the
// password has gone, the server may ask again.
void TestSlowServer::serverWaitingForThePasswordIsKept()
{
    QFETCH(int, askAgainMs);
    QFETCH(int, waitMs);
    QVERIFY_INSIDE_PRIVATE_NETWORK();
    StandinOptions options;
    options.password = "pw";
    options.askAgainMs = askAgainMs;
    auto server = startStandin(options, QHostAddress("127.0.0.2"));
    QVERIFY(server);
    std::unique_ptr<Terminal> terminal(Terminal::create({"Tavix"}));
    QSignalSpy incoming(terminal.get(), &IRCTerminal::receiveCmd);
    QSignalSpy disconnected(terminal.get(), &IRCTerminal::socketDisconnected);
    terminal->setDiscoveryTarget(QHostAddress("127.0.0.2"), server->discoveryPort());
    terminal->startServer(freeUdpPort());
    QVERIFY(QTest::qWaitFor([&] { return !incoming.isEmpty(); }, 6000));
    QCOMPARE(incoming.first().first().toString(), QString("connectVerifyAsk"));
    QVERIFY2(!disconnected.wait(waitMs), "a server waiting for the password was given up");
    QCOMPARE(incoming.size(), 1);
    terminal->sendCmd("connectVerify", {{"password", "pw"}});
    const auto count = [&](const QString& cmd) {
        return std::count_if(incoming.cbegin(), incoming.cend(), [&](const auto& args) { return args.at(0) == cmd; });
    };
    QTRY_COMPARE(count("connected"), 1);
    if (askAgainMs > 0)
        QTRY_VERIFY(count("connectVerifyAsk") >= 2);
}

QTEST_GUILESS_MAIN(TestSlowServer)
#include "tst_slowServer.moc"
