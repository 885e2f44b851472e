// The control link among servers that do not answer: server processes that accept the link and
// then hang (sending nothing, a frame head or the start of a file and nothing more, or "connected"
// and no answer to any request), a host whose discovery replies name a new address nobody holds
// each time, and a stale announcer naming the real server's address with a port where nothing
// listens. A real server answers beside them and must be linked. Discovery is pointed at a
// loopback port where the test answers each probe for every host, each from its own address, or
// at the stand-in's own. The panel asks for the program table on "connected", as the project
// does. CTest runs this in a private network namespace, whose LAN (198.18.0.0/24, a cable to
// nowhere) holds the dead addresses.
#include "network/DiscoveryDatagram.h"
#include "network/RequestHead.h"
#include "network/Terminal.h"
#include "support/IsolatedNetwork.h"
#include "support/LoopbackStandin.h"
#include "support/SpyWaits.h"

#include <QElapsedTimer>
#include <QNetworkDatagram>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QUdpSocket>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace {
QByteArray serverConfig(const QString& ip, int port)
{
    return DiscoveryDatagram::encode("serverConfig", {{"ip", ip}, {"port", port}, {"productName", "Tavix"}});
}

// Hosts on loopback addresses that answer the panel's probes: on each probe every host's answer
// (made afresh) goes out in the order given, from that host's address.
struct AnsweringHosts
{
    QUdpSocket probes;
    std::vector<std::unique_ptr<QUdpSocket>> hosts;
    std::vector<std::function<QByteArray()>> answers;
    int replyPort = freeUdpPort();

    bool listen()
    {
        QObject::connect(&probes, &QUdpSocket::readyRead, &probes, [this] {
            while (probes.hasPendingDatagrams()) {
                probes.receiveDatagram();
                for (size_t i = 0; i < hosts.size(); ++i)
                    send(int(i), answers.at(i)());
            }
        });
        return probes.bind(QHostAddress::LocalHost, 0);
    }
    // A host at address answering with what answer() makes; its index.
    int add(const QString& address, std::function<QByteArray()> answer)
    {
        hosts.push_back(std::make_unique<QUdpSocket>());
        answers.push_back(std::move(answer));
        return hosts.back()->bind(QHostAddress(address), 0) ? int(hosts.size()) - 1 : -1;
    }
    void send(int host, const QByteArray& datagram)
    {
        hosts.at(size_t(host))->writeDatagram(datagram, QHostAddress::LocalHost, quint16(replyPort));
    }
    std::unique_ptr<Terminal> startTerminal()
    {
        return startPanel(QHostAddress::LocalHost, probes.localPort(), replyPort);
    }

    // A control link probing address:port and hearing replies on replyPort, that asks for the
    // program table on "connected".
    static std::unique_ptr<Terminal> startPanel(const QHostAddress& address, int port, int replyPort)
    {
        std::unique_ptr<Terminal> terminal(Terminal::create({"Tavix"}));
        Terminal* raw = terminal.get();
        QObject::connect(raw, &IRCTerminal::receiveCmd, raw, [raw](const QString& sCmd) {
            if (sCmd == QLatin1String("connected"))
                raw->sendCmd("getProgramTable", {});
        });
        terminal->setDiscoveryTarget(address, port);
        terminal->startServer(replyPort);
        return terminal;
    }
};

// Whether spy has recorded the command cmd.
bool heard(const QSignalSpy& spy, const QString& cmd)
{
    return std::any_of(spy.begin(), spy.end(),
                       [&](const QList<QVariant>& args) { return args.at(0) == cmd; });
}
} // namespace

class TestUnansweringServers : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void hungServerIsGivenUp_data();
    void hungServerIsGivenUp();
    void rotatingAddressesKeepNoServerAway_data();
    void rotatingAddressesKeepNoServerAway();
    void staleAnnouncerKeepsNoOneFromTheServer_data();
    void staleAnnouncerKeepsNoOneFromTheServer();
    void refusedServerGivesWayUntilItsAddressIsGiven();
};

void TestUnansweringServers::hungServerIsGivenUp_data()
{
    QTest::addColumn<QString>("hang");
    QTest::addColumn<int>("hungServers");
    QTest::newRow("accepts and never answers") << "silent" << 1;
    QTest::newRow("stalls after a frame head") << "head" << 1;
    QTest::newRow("stalls inside its first file message") << "file" << 1;
    QTest::newRow("says connected and answers nothing") << "connected" << 1;
    QTest::newRow("says connected, pushes one change and answers nothing") << "stray" << 1;
    // Every place for a link taken: the one that waited longest gives way to the new server.
    QTest::newRow("four say connected and answer nothing") << "connected" << 4;
}

// Hung servers answer discovery and are linked; no answer comes over their links, and none is cut
// for that while no other server is in play. A real server starts once their links are up: it is
// linked at the next probe (within 5 s of its start), and the hung links close. Then the real
// server falls silent (it has nothing more to say): a link that answered is not given up for that.
void TestUnansweringServers::hungServerIsGivenUp()
{
    QFETCH(QString, hang);
    QFETCH(int, hungServers);
    QVERIFY_INSIDE_PRIVATE_NETWORK();
    StandinOptions hungOptions;
    hungOptions.stallAfterBytes = hang == "silent" ? 0 : hang == "head" ? RequestHead::Size : -1;
    hungOptions.stallInFile = hang == "file";
    hungOptions.onlyConnected = hang == "connected";
    hungOptions.strayMessage = hang == "stray";
    AnsweringHosts network;
    QVERIFY(network.listen());
    std::vector<std::unique_ptr<MediaServerStandin>> hung;
    std::vector<std::unique_ptr<QSignalSpy>> hungLinks, hungGone;
    for (int i = 0; i < hungServers; ++i) {
        const QString address = QStringLiteral("127.0.0.%1").arg(10 + i);
        hung.push_back(startStandin(hungOptions, QHostAddress(address)));
        QVERIFY(hung.back());
        hungLinks.push_back(std::make_unique<QSignalSpy>(hung.back().get(), &MediaServerStandin::clientConnected));
        hungGone.push_back(std::make_unique<QSignalSpy>(hung.back().get(), &MediaServerStandin::clientDisconnected));
        const int port = hung.back()->tcpPort();
        network.add(address, [port] { return serverConfig("", port); });
    }
    const auto all = [](const std::vector<std::unique_ptr<QSignalSpy>>& spies, int count) {
        return std::all_of(spies.cbegin(), spies.cend(), [&](const auto& spy) { return spy->size() == count; });
    };

    auto terminal = network.startTerminal();
    QSignalSpy connected(terminal.get(), &IRCTerminal::socketConnected);
    QSignalSpy disconnected(terminal.get(), &IRCTerminal::socketDisconnected);
    QSignalSpy incoming(terminal.get(), &IRCTerminal::receiveCmd);
    // Linked at the first probe, 2 s after the start.
    QVERIFY2(QTest::qWaitFor([&] { return all(hungLinks, 1); }, 4000), "the hung servers were not linked");

    auto real = startStandin({}, QHostAddress("127.0.0.2"));
    QVERIFY(real);
    network.add("127.0.0.2", [&] { return serverConfig("", real->tcpPort()); });
    QElapsedTimer sinceStart;
    sinceStart.start();
    QVERIFY2(QTest::qWaitFor([&] { return heard(incoming, "setProgramTable"); }, 5000),
             qPrintable(QStringLiteral("the real server was not linked within 5 s of its start (%1 links)")
                            .arg(connected.size())));
    qInfo("real server linked %lld ms after its start", sinceStart.elapsed());
    QCOMPARE(connected.last().first().toString(), QString("127.0.0.2"));
    QCOMPARE(terminal->getConnectIp(), QString("127.0.0.2"));
    QVERIFY2(all(hungLinks, 1), "a hung server was linked again");
    QVERIFY2(QTest::qWaitFor([&] { return all(hungGone, 1); }, 2000), "a hung server's link stayed open");
    const int ends = int(disconnected.size());
    QVERIFY2(!disconnected.wait(12000), "a link that answered was given up");
    QCOMPARE(disconnected.size(), ends);
}

void TestUnansweringServers::rotatingAddressesKeepNoServerAway_data()
{
    QTest::addColumn<int>("intervalMs");
    QTest::addColumn<int>("hosts");
    QTest::addColumn<int>("holdMs");
    QTest::addColumn<bool>("unaskedOnceLinked");
    QTest::newRow("1 a second") << 1000 << 1 << 0 << false;
    QTest::newRow("5 a second") << 200 << 1 << 0 << false;
    // More replies than are remembered come before the attempts fail: each host rests all the same.
    QTest::newRow("4 hosts, 5 a second, beside a server loading 3 s") << 200 << 4 << 3000 << false;
    // The server's link and three attempts at dead addresses fill every place; another host's
    // replies must not cut the server's link while it loads.
    QTest::newRow("3 hosts' attempts under way, another host's replies, a server loading 3 s")
        << 200 << 3 << 3000 << true;
}

// Besides answering every probe (right after the real server), each host sends replies of its own
// at the row's rate, each naming a new address of the LAN where nobody answers; or, once the real
// server has a link, one more host does so, which answers no probe. Once the attempt to one of them
// failed, the host rests. The real server is linked, its link is never cut, and its answer (the
// row's time after its greeting) is taken.
void TestUnansweringServers::rotatingAddressesKeepNoServerAway()
{
    QFETCH(int, intervalMs);
    QFETCH(int, hosts);
    QFETCH(int, holdMs);
    QFETCH(bool, unaskedOnceLinked);
    QVERIFY_INSIDE_PRIVATE_NETWORK();
    StandinOptions options;
    options.answerHoldMs = holdMs;
    auto real = startStandin(options, QHostAddress("127.0.0.2"));
    QVERIFY(real);
    QSignalSpy realGone(real.get(), &MediaServerStandin::clientDisconnected);
    AnsweringHosts network;
    QVERIFY(network.listen());
    int named = 0;
    const auto rotating = [&] { return serverConfig(QStringLiteral("198.18.0.%1").arg(100 + named++ % 100), 4000); };
    network.add("127.0.0.2", [&] { return serverConfig("", real->tcpPort()); });
    for (int i = 0; i < hosts; ++i)
        QVERIFY(network.add(QStringLiteral("127.0.0.%1").arg(5 + i), rotating) >= 0);
    QUdpSocket another;
    QVERIFY(another.bind(QHostAddress("127.0.0.9"), 0));
    QTimer unasked;
    connect(&unasked, &QTimer::timeout, this, [&] {
        if (unaskedOnceLinked) {
            another.writeDatagram(rotating(), QHostAddress::LocalHost, quint16(network.replyPort));
            return;
        }
        for (int i = 1; i <= hosts; ++i)
            network.send(i, rotating());
    });
    if (unaskedOnceLinked)
        connect(real.get(), &MediaServerStandin::clientConnected, &unasked, [&] { unasked.start(intervalMs); });
    else
        unasked.start(intervalMs);

    auto terminal = network.startTerminal();
    QSignalSpy connected(terminal.get(), &IRCTerminal::socketConnected);
    QSignalSpy incoming(terminal.get(), &IRCTerminal::receiveCmd);
    // Probes go out every 2 s; an attempt at a dead address is given up after 2 s.
    QVERIFY2(waitForFirst(connected, 10000), "the real server was not linked");
    QCOMPARE(connected.first().first().toString(), QString("127.0.0.2"));
    QVERIFY2(QTest::qWaitFor([&] { return heard(incoming, "setProgramTable"); }, 8000),
             "the real server's answer was not taken within 8 s of its link");
    QCOMPARE(realGone.size(), 0);
    QVERIFY(named >= 2);
}

void TestUnansweringServers::staleAnnouncerKeepsNoOneFromTheServer_data()
{
    QTest::addColumn<QString>("announcer");
    // A stale copy on the server's own host answers every probe 250 ms before the server does.
    QTest::newRow("on the server's own host") << "127.0.0.2";
    // A host that names the server's address with that port five times a second, unasked.
    QTest::newRow("on another host") << "127.0.0.5";
}

// Replies name the real server's address with a port where nothing listens; the attempt there is
// refused. The server's own endpoint is linked at the first probe after that: the first probe goes
// out 2 s after the start, the second 2 s later.
void TestUnansweringServers::staleAnnouncerKeepsNoOneFromTheServer()
{
    QFETCH(QString, announcer);
    QVERIFY_INSIDE_PRIVATE_NETWORK();
    constexpr int kStalePort = 9;
    StandinOptions options;
    if (announcer == "127.0.0.2")
        options.staleAnnouncePort = kStalePort;
    auto real = startStandin(options, QHostAddress("127.0.0.2"));
    QVERIFY(real);
    const int replyPort = freeUdpPort();
    QUdpSocket other;
    QVERIFY(other.bind(QHostAddress(announcer), 0));
    QTimer unasked;
    connect(&unasked, &QTimer::timeout, this, [&] {
        other.writeDatagram(serverConfig("127.0.0.2", kStalePort), QHostAddress::LocalHost,
                            quint16(replyPort));
    });
    auto terminal = AnsweringHosts::startPanel(QHostAddress("127.0.0.2"), real->discoveryPort(), replyPort);
    if (announcer != "127.0.0.2")
        unasked.start(200);
    QSignalSpy connected(terminal.get(), &IRCTerminal::socketConnected);
    QSignalSpy incoming(terminal.get(), &IRCTerminal::receiveCmd);
    QVERIFY2(waitForFirst(connected, 3500), "the real server was not linked at the first probe");
    QCOMPARE(connected.first().first().toString(), QString("127.0.0.2"));
    QTRY_VERIFY(heard(incoming, "setProgramTable"));
}

// A server asks for the password; once it has, an open server starts beside it. The user turns the
// asking one down: the open server is linked at the next probe (within 5 s), and the refused one
// is not linked again until its address is given (resetLink), which links it at the next probe.
void TestUnansweringServers::refusedServerGivesWayUntilItsAddressIsGiven()
{
    QVERIFY_INSIDE_PRIVATE_NETWORK();
    StandinOptions asking;
    asking.password = "pw";
    auto guarded = startStandin(asking, QHostAddress("127.0.0.3"));
    auto open = startStandin({}, QHostAddress("127.0.0.2"));
    QVERIFY(guarded && open);
    QSignalSpy guardedLinks(guarded.get(), &MediaServerStandin::clientConnected);
    QSignalSpy guardedGone(guarded.get(), &MediaServerStandin::clientDisconnected);
    AnsweringHosts network;
    QVERIFY(network.listen());
    network.add("127.0.0.3", [&] { return serverConfig("", guarded->tcpPort()); });
    auto terminal = network.startTerminal();
    QSignalSpy incoming(terminal.get(), &IRCTerminal::receiveCmd);
    QVERIFY(QTest::qWaitFor([&] { return heard(incoming, "connectVerifyAsk"); }, 6000));
    network.add("127.0.0.2", [&] { return serverConfig("", open->tcpPort()); });

    terminal->refuseLink();
    QVERIFY(waitForFirst(guardedGone, 2000));
    QElapsedTimer sinceRefusal;
    sinceRefusal.start();
    QVERIFY2(QTest::qWaitFor([&] { return heard(incoming, "setProgramTable"); }, 5000),
             "the open server was not linked within 5 s of the refusal");
    QCOMPARE(terminal->getConnectIp(), QString("127.0.0.2"));
    QCOMPARE(guardedLinks.size(), 1);

    terminal->resetLink("127.0.0.3");
    QVERIFY2(QTest::qWaitFor([&] { return guardedLinks.size() == 2; }, 4500),
             "the server was not linked again once its address was given");
}

QTEST_GUILESS_MAIN(TestUnansweringServers)
#include "tst_unansweringServers.moc"
