// The control link among servers that do not answer: a server process that accepts the link and
// then hangs (sending nothing, or a frame head and nothing more), and a host whose discovery
// replies name a new address nobody holds each time. A real server answers beside them and must be
// linked. Discovery is pointed at a loopback port where the test answers each probe for every
// host, each from its own address. CTest runs this in a private network namespace, whose LAN
// (198.18.0.0/24, a cable to nowhere) holds the dead addresses.
#include "network/DiscoveryDatagram.h"
#include "network/RequestHead.h"
#include "network/Terminal.h"
#include "network/TerminalConnect.h"
#include "support/IsolatedNetwork.h"
#include "support/LoopbackStandin.h"
#include "support/SpyWaits.h"

#include <QNetworkDatagram>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QUdpSocket>

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
        std::unique_ptr<Terminal> terminal(Terminal::create({"Tavix"}));
        terminal->setDiscoveryTarget(QHostAddress::LocalHost, probes.localPort());
        terminal->startServer(replyPort);
        return terminal;
    }
};
} // namespace

class TestUnansweringServers : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void hungServerIsGivenUp_data();
    void hungServerIsGivenUp();
    void rotatingAddressesKeepNoServerAway_data();
    void rotatingAddressesKeepNoServerAway();
};

void TestUnansweringServers::hungServerIsGivenUp_data()
{
    QTest::addColumn<qint64>("stallAfterBytes");
    QTest::newRow("accepts and never answers") << qint64(0);
    QTest::newRow("stalls after a frame head") << qint64(RequestHead::Size);
}

// The hung server answers discovery first and is linked; nothing complete comes over the link, so
// it is given up after the first-message time-out, its address rests, discovery goes on and the
// real server is linked. Then the real server falls silent (it has nothing to say): a link that
// answered once is not given up for that.
void TestUnansweringServers::hungServerIsGivenUp()
{
    QFETCH(qint64, stallAfterBytes);
    QVERIFY_INSIDE_PRIVATE_NETWORK();
    StandinOptions hungOptions;
    hungOptions.stallAfterBytes = stallAfterBytes;
    auto hung = startStandin(hungOptions, QHostAddress("127.0.0.1"));
    auto real = startStandin({}, QHostAddress("127.0.0.2"));
    QVERIFY(hung && real);
    AnsweringHosts network;
    QVERIFY(network.listen());
    network.add("127.0.0.1", [&] { return serverConfig("", hung->tcpPort()); });
    network.add("127.0.0.2", [&] { return serverConfig("", real->tcpPort()); });

    auto terminal = network.startTerminal();
    QSignalSpy connected(terminal.get(), &IRCTerminal::socketConnected);
    QSignalSpy disconnected(terminal.get(), &IRCTerminal::socketDisconnected);
    QSignalSpy incoming(terminal.get(), &IRCTerminal::receiveCmd);
    QVERIFY(waitForFirst(connected, 3 * Terminal::kProbeIntervalMs));
    QCOMPARE(connected.first().first().toString(), QString("127.0.0.1"));
    QVERIFY2(disconnected.wait(TerminalConnect::kFirstMessageTimeoutMs + 5000), "the hung server still holds the link");
    QTRY_COMPARE_WITH_TIMEOUT(connected.size(), 2, 3 * Terminal::kProbeIntervalMs);
    QCOMPARE(connected.last().first().toString(), QString("127.0.0.2"));
    QTRY_VERIFY(!incoming.isEmpty());
    QCOMPARE(incoming.first().first().toString(), QString("connected"));
    if (stallAfterBytes == 0)
        QVERIFY2(!disconnected.wait(TerminalConnect::kFirstMessageTimeoutMs + 2000),
                 "a link that answered was given up");
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
    QVERIFY2(waitForFirst(connected, 3 * Terminal::kProbeIntervalMs + 2 * TerminalConnect::kConnectTimeoutMs),
             "the real server was not linked");
    QCOMPARE(connected.first().first().toString(), QString("127.0.0.2"));
    QVERIFY(named >= 2);
}

QTEST_GUILESS_MAIN(TestUnansweringServers)
#include "tst_unansweringServers.moc"
