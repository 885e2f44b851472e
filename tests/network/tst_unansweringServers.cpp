// The control link among servers that do not answer: a server process that accepts the link and
// then hangs (sending nothing, a frame head or the start of a file and nothing more, or "connected"
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
};

void TestUnansweringServers::hungServerIsGivenUp_data()
{
    QTest::addColumn<QString>("hang");
    QTest::newRow("accepts and never answers") << "silent";
    QTest::newRow("stalls after a frame head") << "head";
    QTest::newRow("stalls inside its first file message") << "file";
    QTest::newRow("says connected and answers nothing") << "connected";
}

// The hung server answers discovery first and is linked; no answer comes over the link, so it is
// given up 10 s after the link came up, its endpoint rests, discovery goes on and the real server
// is linked at its next answer, 2 s on. Then the real server falls silent (it has nothing more to
// say): a link that answered once is not given up for that.
void TestUnansweringServers::hungServerIsGivenUp()
{
    QFETCH(QString, hang);
    QVERIFY_INSIDE_PRIVATE_NETWORK();
    StandinOptions hungOptions;
    hungOptions.stallAfterBytes = hang == "silent" ? 0 : hang == "head" ? RequestHead::Size : -1;
    hungOptions.stallInFile = hang == "file";
    hungOptions.onlyConnected = hang == "connected";
    auto hung = startStandin(hungOptions, QHostAddress("127.0.0.1"));
    auto real = startStandin({}, QHostAddress("127.0.0.2"));
    QVERIFY(hung && real);
    AnsweringHosts network;
    QVERIFY(network.listen());
    network.add("127.0.0.1", [&] { return serverConfig("", hung->tcpPort()); });
    network.add("127.0.0.2", [&] { return serverConfig("", real->tcpPort()); });

    auto terminal = network.startTerminal();
    QElapsedTimer clock;
    clock.start();
    QList<qint64> linkedAt;
    qint64 givenUpAt = -1;
    connect(terminal.get(), &IRCTerminal::socketConnected, this, [&] { linkedAt << clock.elapsed(); });
    connect(terminal.get(), &IRCTerminal::socketDisconnected, this, [&] {
        if (givenUpAt < 0)
            givenUpAt = clock.elapsed();
    });
    QSignalSpy connected(terminal.get(), &IRCTerminal::socketConnected);
    QSignalSpy disconnected(terminal.get(), &IRCTerminal::socketDisconnected);
    QSignalSpy incoming(terminal.get(), &IRCTerminal::receiveCmd);
    QVERIFY(waitForFirst(connected, 6000));
    QCOMPARE(connected.first().first().toString(), QString("127.0.0.1"));
    QVERIFY2(disconnected.wait(15000), "the hung server still holds the link");
    const qint64 heldMs = givenUpAt - linkedAt.first();
    QVERIFY2(heldMs >= 9900 && heldMs <= 10500,
             qPrintable(QStringLiteral("given up %1 ms after the link came up, not 10 s").arg(heldMs)));
    QTRY_COMPARE_WITH_TIMEOUT(connected.size(), 2, 4000);
    QCOMPARE(connected.last().first().toString(), QString("127.0.0.2"));
    qInfo("given up %lld ms after the link came up; the real server linked %lld ms later", heldMs,
          linkedAt.last() - givenUpAt);
    QTRY_VERIFY(heard(incoming, "setProgramTable"));
    QVERIFY(heard(incoming, "connected"));
    if (hang == "silent")
        QVERIFY2(!disconnected.wait(12000), "a link that answered was given up");
    QCOMPARE(disconnected.size(), 1);
}

void TestUnansweringServers::rotatingAddressesKeepNoServerAway_data()
{
    QTest::addColumn<int>("intervalMs");
    QTest::newRow("1 a second") << 1000;
    QTest::newRow("5 a second") << 200;
}

// Besides answering every probe (right after the real server), a host sends replies of its own at
// the row's rate, each naming a new address of the LAN where nobody answers. Once the attempt to
// one of them failed, the host rests, and the real server is linked.
void TestUnansweringServers::rotatingAddressesKeepNoServerAway()
{
    QFETCH(int, intervalMs);
    QVERIFY_INSIDE_PRIVATE_NETWORK();
    auto real = startStandin({}, QHostAddress("127.0.0.2"));
    QVERIFY(real);
    AnsweringHosts network;
    QVERIFY(network.listen());
    int named = 0;
    const auto rotating = [&] { return serverConfig(QStringLiteral("198.18.0.%1").arg(100 + named++ % 100), 4000); };
    network.add("127.0.0.2", [&] { return serverConfig("", real->tcpPort()); });
    const int host = network.add("127.0.0.5", rotating);
    QVERIFY(host >= 0);
    QTimer unasked;
    connect(&unasked, &QTimer::timeout, this, [&] { network.send(host, rotating()); });
    unasked.start(intervalMs);

    auto terminal = network.startTerminal();
    QSignalSpy connected(terminal.get(), &IRCTerminal::socketConnected);
    // Probes go out every 2 s; an attempt at a dead address is given up after 2 s.
    QVERIFY2(waitForFirst(connected, 10000), "the real server was not linked");
    QCOMPARE(connected.first().first().toString(), QString("127.0.0.2"));
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

QTEST_GUILESS_MAIN(TestUnansweringServers)
#include "tst_unansweringServers.moc"
