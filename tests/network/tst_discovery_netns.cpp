// Discovery on a LAN without a gateway, over a real limited broadcast on the fixed ports
// (36543, 36545), and under datagram floods. CTest runs this in a private network namespace
// (scripts/netns-run.sh); the test gives its interface a second address and takes the gateway
// away: no default route, none for 255.255.255.255. Broadcasts and floods never leave it and
// parallel runs never share a port.
#include "network/LocalAddresses.h"
#include "network/Terminal.h"
#include "network/TerminalDetect.h"
#include "support/DatagramFlood.h"
#include "support/IsolatedNetwork.h"
#include "support/SpyWaits.h"
#include "tools/mediaserver-standin/MediaServerStandin.h"

#include <QElapsedTimer>
#include <QSignalSpy>

#include <algorithm>
#include <QTest>
#include <QTimer>
#include <QUdpSocket>

// Memory is measured under floods: AddressSanitizer's quarantine of freed blocks is kept small,
// or its (bounded) growth would hide what the program itself holds.
extern "C" const char* __asan_default_options()
{
    return "quarantine_size_mb=4";
}

namespace {
const QString kFirst = QStringLiteral("198.18.0.1");
const QString kSecond = QStringLiteral("198.18.0.7");
constexpr int kReplyPort = 36545;
} // namespace

class TestDiscoveryNetns : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void discoveryEndToEnd_data();
    void discoveryEndToEnd();
    void floodKeepsMemoryFlatAndStopPrompt_data();
    void floodKeepsMemoryFlatAndStopPrompt();
};

void TestDiscoveryNetns::initTestCase()
{
    QVERIFY_INSIDE_PRIVATE_NETWORK();
    QVERIFY(shapeLanWithoutGateway(kSecond));
    QCOMPARE(LocalAddresses::localIPv4Addresses(), (QStringList{kFirst, kSecond}));
    // No gateway: a socket bound to no address has no way to the limited broadcast address.
    QUdpSocket unbound;
    QCOMPARE(unbound.writeDatagram("x", QHostAddress::Broadcast, TerminalDetect::kProbePort), -1);
}

void TestDiscoveryNetns::discoveryEndToEnd_data()
{
    QTest::addColumn<QString>("announceIp");
    QTest::addColumn<QString>("linkedTo");
    // A server that names no address is reached at the address its reply came from.
    QTest::newRow("sender address") << QString() << kFirst;
    // A server that names one (answering at the probe's own "ip") is reached there.
    QTest::newRow("announced address") << QString("127.0.0.1") << QString("127.0.0.1");
}

void TestDiscoveryNetns::discoveryEndToEnd()
{
    QFETCH(QString, announceIp);
    QFETCH(QString, linkedTo);
    StandinOptions options; // real discovery port 36543, any address
    options.announceIp = announceIp;
    options.replyToProbeIp = !announceIp.isEmpty();
    MediaServerStandin standin(options);
    QVERIFY(standin.start());
    QSignalSpy probes(&standin, &MediaServerStandin::probeReceived);

    std::unique_ptr<Terminal> terminal(Terminal::create({"Tavix"}));
    QSignalSpy connected(terminal.get(), &IRCTerminal::socketConnected);
    QSignalSpy incoming(terminal.get(), &IRCTerminal::receiveCmd);
    terminal->startServer(kReplyPort);
    QVERIFY(waitForFirst(connected, 8000));
    QCOMPARE(connected.at(0).at(0).toString(), linkedTo);
    // One probe per address, each sent from the address it names.
    QVERIFY(probes.size() >= 2);
    QStringList ips;
    for (int i = 0; i < 2; ++i) {
        const QJsonObject params = probes.at(i).at(1).toJsonObject();
        QCOMPARE(params.value("port").toInt(), kReplyPort);
        ips << params.value("ip").toString();
        QVERIFY(QHostAddress(probes.at(i).at(0).toString())
                    .isEqual(QHostAddress(ips.last()), QHostAddress::ConvertV4MappedToIPv4));
    }
    QCOMPARE(ips, (QStringList{kFirst, kSecond}));
    QTRY_VERIFY(!incoming.isEmpty());
    QCOMPARE(incoming.at(0).at(0).toString(), QString("connected"));
    if (!announceIp.isEmpty())
        return;

    // No probes once the link has answered.
    terminal->sendCmd("getProgramTable", {});
    QTRY_VERIFY(std::any_of(incoming.cbegin(), incoming.cend(),
                            [](const QList<QVariant>& args) { return args.at(0) == "setProgramTable"; }));
    const int probesWhileUp = int(probes.size());
    QVERIFY(!probes.wait(2500));
    QCOMPARE(probes.size(), probesWhileUp);
}

void TestDiscoveryNetns::floodKeepsMemoryFlatAndStopPrompt_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("empty datagrams") << int(DatagramFlood::Empty);
    QTest::newRow("unfinished heads") << int(DatagramFlood::UnfinishedHeads);
    QTest::newRow("unfinished messages") << int(DatagramFlood::UnfinishedMessages);
    QTest::newRow("replies") << int(DatagramFlood::Replies);
    QTest::newRow("garbage") << int(DatagramFlood::Garbage);
}

// A host floods the reply port from 64 addresses. The worker's memory stays within 50 MB of
// idle, a server's reply is heard again right after the flood, and stopping the worker in the
// middle of a flood takes less than 100 ms.
void TestDiscoveryNetns::floodKeepsMemoryFlatAndStopPrompt()
{
    QFETCH(int, kind);
    constexpr int kServerPort = 4242;
    auto detect = std::make_unique<TerminalDetect>();
    int heard = 0;
    connect(detect.get(), &TerminalDetect::serverDetected, this, [&](const QString&, int port) {
        if (port == kServerPort)
            ++heard;
    });
    QUdpSocket server;
    QVERIFY(server.bind(QHostAddress::LocalHost, 0));
    const QByteArray reply = DiscoveryDatagram::encode(
        "serverConfig", QJsonObject{{"ip", "127.0.0.1"}, {"port", kServerPort}, {"productName", "Tavix"}});
    // Resent until heard: the worker starts listening in its own thread, and a flood may
    // have filled the socket's receive queue.
    auto serverHeard = [&] {
        const int before = heard;
        for (int i = 0; i < 100 && heard == before; ++i) {
            server.writeDatagram(reply, QHostAddress::LocalHost, kReplyPort);
            QTest::qWait(20);
        }
        return heard > before;
    };
    detect->startDetect(kReplyPort);
    QVERIFY(serverHeard());

    const qint64 idle = DatagramFlood::residentBytes();
    qint64 peak = idle;
    QTimer sampler;
    connect(&sampler, &QTimer::timeout, this, [&] { peak = qMax(peak, DatagramFlood::residentBytes()); });
    sampler.start(5);
    quint64 sent = 0;
    {
        DatagramFlood flood(DatagramFlood::Kind(kind), kReplyPort);
        QVERIFY(flood.isValid());
        flood.start();
        QTest::qWait(1500);
        flood.stop();
        sent = flood.sent();
    }
    QVERIFY2(serverHeard(), "no reply heard after the flood");
    sampler.stop();

    DatagramFlood flood(DatagramFlood::Kind(kind), kReplyPort);
    flood.start();
    QTest::qWait(300);
    QElapsedTimer stopping;
    stopping.start();
    detect.reset();
    const qint64 stopMs = stopping.elapsed();
    const bool floodWasRunning = flood.running();
    flood.stop();

    qInfo("%llu datagrams in 1.5 s; resident memory idle %lld MB, peak %lld MB; stopped in %lld ms", sent,
          idle >> 20, peak >> 20, stopMs);
    QVERIFY2(peak - idle < 50 * 1024 * 1024, "memory grew under the flood");
    QVERIFY2(floodWasRunning, "stopping the worker waited for the flood to end");
    // A stop takes well under a millisecond; the bound leaves room for a loaded machine.
    QVERIFY2(stopMs < 100, qPrintable(QStringLiteral("stopping under a flood took %1 ms").arg(stopMs)));
}

QTEST_GUILESS_MAIN(TestDiscoveryNetns)
#include "tst_discovery_netns.moc"
