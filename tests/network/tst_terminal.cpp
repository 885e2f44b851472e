// The control link end to end against the stand-in media server, also over links
// that split, garble and cut what the server writes. Discovery is pointed at the
// stand-in's own (free) loopback port and the stand-in answers the address a probe
// came from; CTest runs this in a private network namespace, whose interface gives
// the probes an address to be sent for.
#include "network/LocalAddresses.h"
#include "network/Terminal.h"
#include "support/LoopbackStandin.h"
#include "support/ProcessThreads.h"

#include <QDir>
#include <QSet>
#include <QSignalSpy>
#include <QTest>

namespace {
std::unique_ptr<Terminal> startTerminal(const MediaServerStandin& standin, QStringList names = {"Tavix"})
{
    std::unique_ptr<Terminal> terminal(Terminal::create(names));
    terminal->setDiscoveryTarget(QHostAddress::LocalHost, standin.discoveryPort());
    terminal->startServer(freeUdpPort());
    return terminal;
}

// Waits for the first emission, including one that already happened.
bool waitFor(QSignalSpy& spy, int ms = 6000)
{
    return !spy.isEmpty() || spy.wait(ms);
}
} // namespace

class TestTerminal : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void carriesCommandsBothWays_data();
    void carriesCommandsBothWays();
    void productNameFilter_data();
    void productNameFilter();
    void linkCutMidFrameIsFollowedByRediscovery();
    void resetLinkFiltersByAddress();
    void stopServerLeavesNoThreadAndNoLateEvents();
};

void TestTerminal::initTestCase()
{
    // Probes are sent once per usable local IPv4 address; without one nothing leaves.
    QVERIFY2(!LocalAddresses::localIPv4Addresses().isEmpty(),
             "no running non-loopback IPv4 interface: run this through CTest, which starts it in a "
             "private network namespace, or under `unshare -rn scripts/netns-run.sh`");
}

void TestTerminal::carriesCommandsBothWays_data()
{
    QTest::addColumn<int>("splitBytes");
    QTest::addColumn<int>("garbageBytes");
    QTest::newRow("plain") << 0 << 0;
    QTest::newRow("frames split into 7-byte writes") << 7 << 0;
    QTest::newRow("garbage before every frame") << 0 << 50;
    QTest::newRow("both") << 3 << 13;
}

void TestTerminal::carriesCommandsBothWays()
{
    QFETCH(int, splitBytes);
    QFETCH(int, garbageBytes);
    std::unique_ptr<Terminal> idle(Terminal::create({"Tavix"}));
    idle->sendCmd("getProgramTable", {}); // no workers: nothing happens
    QCOMPARE(idle->getConnectIp(), QString());

    StandinOptions options;
    options.splitBytes = splitBytes;
    options.garbageBytes = garbageBytes;
    auto standin = startStandin(options);
    QVERIFY(standin);
    QSignalSpy atServer(standin.get(), &MediaServerStandin::commandReceived);
    auto terminal = startTerminal(*standin);
    QSignalSpy connected(terminal.get(), &IRCTerminal::socketConnected);
    QSignalSpy incoming(terminal.get(), &IRCTerminal::receiveCmd);
    terminal->sendCmd("early", {}); // no link yet: dropped, not queued

    QVERIFY(waitFor(connected));
    QCOMPARE(connected.at(0).at(0).toString(), QString("127.0.0.1"));
    QCOMPARE(terminal->getConnectIp(), QString("127.0.0.1"));
    QTRY_VERIFY(!incoming.isEmpty());
    QCOMPARE(incoming.at(0).at(0).toString(), QString("connected"));
    QVERIFY(!incoming.at(0).at(1).toJsonObject().value("uid").toString().isEmpty());

    // Order and content both ways, with a large command among small ones; "early" never arrives.
    incoming.clear();
    const int n = 200;
    for (int i = 0; i < n; ++i) {
        QJsonObject params{{"i", i}};
        if (i == 7)
            params.insert("blob", QString(5000, 'b'));
        terminal->sendCmd("cmd", params);
        standin->sendToAll("evt", params);
    }
    QTRY_COMPARE(atServer.size(), n);
    QTRY_COMPARE(incoming.size(), n);
    QSet<QString> uids;
    for (int i = 0; i < n; ++i) {
        QCOMPARE(atServer.at(i).at(1).toJsonObject().value("i").toInt(), i);
        const QJsonObject params = incoming.at(i).at(1).toJsonObject();
        QCOMPARE(params.value("i").toInt(), i);
        uids.insert(params.value("uid").toString());
    }
    QCOMPARE(uids.size(), n);
    QCOMPARE(atServer.at(7).at(1).toJsonObject().value("blob").toString().size(), 5000);
    QCOMPARE(incoming.at(7).at(1).toJsonObject().value("blob").toString().size(), 5000);
}

void TestTerminal::productNameFilter_data()
{
    QTest::addColumn<QString>("announced");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("exact") << "Tavix" << true;
    QTest::newRow("case differs") << "tavix" << false;
    QTest::newRow("empty") << "" << true;
    QTest::newRow("other product") << "Stelvane" << false;
}

void TestTerminal::productNameFilter()
{
    QFETCH(QString, announced);
    QFETCH(bool, accepted);
    StandinOptions options;
    options.productName = announced;
    auto standin = startStandin(options);
    QVERIFY(standin);
    QSignalSpy answered(standin.get(), &MediaServerStandin::probeAnswered);
    QSignalSpy clients(standin.get(), &MediaServerStandin::clientConnected);
    auto terminal = startTerminal(*standin);
    QSignalSpy connected(terminal.get(), &IRCTerminal::socketConnected);
    if (accepted) {
        QVERIFY(waitFor(connected));
    } else {
        // Two answered probes: the first reply has long been handled by the second.
        QTRY_VERIFY_WITH_TIMEOUT(answered.size() >= 2, 8000);
        QCOMPARE(clients.size(), 0);
        QCOMPARE(connected.size(), 0);
    }
}

void TestTerminal::linkCutMidFrameIsFollowedByRediscovery()
{
    StandinOptions options;
    options.dropAfterBytes = 2000; // "connected", then into the second chunk of a large command
    auto standin = startStandin(options);
    QVERIFY(standin);
    auto terminal = startTerminal(*standin);
    QSignalSpy connected(terminal.get(), &IRCTerminal::socketConnected);
    QSignalSpy disconnected(terminal.get(), &IRCTerminal::socketDisconnected);
    QSignalSpy incoming(terminal.get(), &IRCTerminal::receiveCmd);
    QVERIFY(waitFor(connected));
    QTRY_COMPARE(incoming.size(), 1);

    standin->sendToAll("large", QJsonObject{{"blob", QString(5000, 'b')}});
    QVERIFY(waitFor(disconnected));
    terminal->sendCmd("whileDown", {}); // dropped
    // Rediscovered at the next probe; the new link starts clean.
    QTRY_COMPARE_WITH_TIMEOUT(connected.size(), 2, 4000);
    QTRY_COMPARE(incoming.size(), 2);
    standin->sendToAll("after", {});
    QTRY_COMPARE(incoming.size(), 3);
    QStringList names;
    for (const auto& args : incoming)
        names << args.at(0).toString();
    QCOMPARE(names, (QStringList{"connected", "connected", "after"}));
    QCOMPARE(terminal->getConnectIp(), QString("127.0.0.1"));
}

void TestTerminal::resetLinkFiltersByAddress()
{
    auto first = startStandin();
    QVERIFY(first);
    auto second = startStandin({}, QHostAddress("127.0.0.2"));
    QVERIFY(second);
    auto terminal = startTerminal(*first);
    QSignalSpy connected(terminal.get(), &IRCTerminal::socketConnected);
    QSignalSpy disconnected(terminal.get(), &IRCTerminal::socketDisconnected);
    QVERIFY(waitFor(connected));
    QCOMPARE(terminal->getConnectIp(), QString("127.0.0.1"));

    // The same filter again still drops the link; discovery finds the same server.
    terminal->resetLink("");
    QTRY_COMPARE_WITH_TIMEOUT(disconnected.size(), 1, 3000);
    QTRY_COMPARE_WITH_TIMEOUT(connected.size(), 2, 4000);

    // Only the second server is accepted now, written in its IPv4-mapped form.
    QSignalSpy firstAnswers(first.get(), &MediaServerStandin::probeAnswered);
    terminal->resetLink("::ffff:127.0.0.2");
    QCOMPARE(terminal->getEnableIp(), QString("::ffff:127.0.0.2"));
    QTRY_COMPARE_WITH_TIMEOUT(disconnected.size(), 2, 3000);
    QTRY_VERIFY_WITH_TIMEOUT(firstAnswers.size() >= 2, 8000);
    QCOMPARE(connected.size(), 2);                            // the first server's replies are refused
    QCOMPARE(terminal->getConnectIp(), QString("127.0.0.1")); // kept after the drop

    terminal->setDiscoveryTarget(QHostAddress("127.0.0.2"), second->discoveryPort());
    QTRY_COMPARE_WITH_TIMEOUT(connected.size(), 3, 4000);
    QCOMPARE(connected.last().at(0).toString(), QString("127.0.0.2"));
    QCOMPARE(terminal->getConnectIp(), QString("127.0.0.2"));
}

void TestTerminal::stopServerLeavesNoThreadAndNoLateEvents()
{
    auto standin = startStandin();
    QVERIFY(standin);
    QSignalSpy clients(standin.get(), &MediaServerStandin::clientVerified);
    QSignalSpy gone(standin.get(), &MediaServerStandin::clientDisconnected);
    const int threadsBefore = settledThreads();
    auto terminal = startTerminal(*standin);
    QCOMPARE(runningThreads(), threadsBefore + 2);
    QSignalSpy connected(terminal.get(), &IRCTerminal::socketConnected);
    QSignalSpy disconnected(terminal.get(), &IRCTerminal::socketDisconnected);
    QSignalSpy incoming(terminal.get(), &IRCTerminal::receiveCmd);

    // Stop while the link worker's reports of the new connection (and of the
    // "connected" command) may still be queued for the GUI thread.
    QVERIFY(waitFor(clients));
    terminal->stopServer();
    const int connectedAtStop = int(connected.size());
    const int incomingAtStop = int(incoming.size());
    QCOMPARE(disconnected.size(), 1);
    // The worker threads have finished; the system may take a moment to reap them.
    QTRY_COMPARE(runningThreads(), threadsBefore);
    QVERIFY(waitFor(gone));
    QCoreApplication::processEvents();
    QCOMPARE(connected.size(), connectedAtStop);
    QCOMPARE(incoming.size(), incomingAtStop);
    terminal->sendCmd("afterStop", {});
    QCOMPARE(terminal->getConnectIp(), QString());

    // Started again, it finds the server again.
    terminal->startServer(freeUdpPort());
    QTRY_VERIFY_WITH_TIMEOUT(connected.size() > connectedAtStop, 6000);
    terminal.reset(); // the destructor stops as well
    QTRY_COMPARE(runningThreads(), threadsBefore);
}

QTEST_GUILESS_MAIN(TestTerminal)
#include "tst_terminal.moc"
